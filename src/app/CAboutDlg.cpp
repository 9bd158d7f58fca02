#include "CAboutDlg.h"

#include "core/ProgramVersion.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>

namespace {

const char* const CreditLines = "Design and program: the Carvestone authors\r\n"
                                "MPQ archive access: StormLib, by Ladislav Zezula\r\n"
                                "Grid control: the Carvestone authors";

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
    , credits(new QPlainTextEdit(this))
{
    setWindowTitle(QStringLiteral("About Carvestone"));
    auto* icon = new QLabel(this);
    setWindowIcon(QIcon(QStringLiteral(":/icons/carvestone.svg")));
    icon->setPixmap(windowIcon().pixmap(48, 48));
    auto* version = new QLabel(QStringLiteral("Carvestone Version %1").arg(ProgramVersion::Text()), this);
    auto* purpose = new QLabel(QStringLiteral("A tool for making Diablo II MODs"), this);
    credits->setReadOnly(true);
    credits->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    credits->setPlainText(QString::fromLatin1(CreditLines));
    // Room for the three credit lines and two more, no empty page below.
    credits->setFixedHeight(credits->fontMetrics().lineSpacing() * 5 + 2 * credits->frameWidth()
                            + int(2 * credits->document()->documentMargin()));
    credits->setMinimumWidth(credits->fontMetrics().horizontalAdvance(QStringLiteral("M")) * 34);
    QFont versionFont = version->font();
    versionFont.setBold(true);
    version->setFont(versionFont);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CAboutDlg::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(purpose, 1, 1);
    layout->addWidget(buttons, 0, 2, Qt::AlignTop);
    layout->addWidget(credits, 2, 0, 1, 3);
}
