#include "CFontPropertyPage.h"

#include "FontNameCombo.h"
#include "FontSizeCombo.h"
#include "core/StringTable.h"
#include "grid/CGridCtrl.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QScreen>
#include <QSignalBlocker>

#include <array>

namespace {

constexpr int PreviewRows = 10;
constexpr int PreviewColumns = 20;
constexpr std::array StandardSizes{8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48};

struct StyleEntry
{
    int code;
    int stringId;
};
constexpr std::array StyleEntries{StyleEntry{CFontPropertyPage::StyleRegular, StringId::StyleRegular},
                                  StyleEntry{CFontPropertyPage::StyleBold, StringId::StyleBold},
                                  StyleEntry{CFontPropertyPage::StyleItalic, StringId::StyleItalic},
                                  StyleEntry{CFontPropertyPage::StyleBoldItalic, StringId::StyleBoldItalic}};

QLabel* MakeLabel(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

CFontPropertyPage::CFontPropertyPage(QWidget* parent)
    : QWidget(parent)
    , faceCombo(new FontNameCombo(this))
    , styleCombo(new QComboBox(this))
    , sizeCombo(new FontSizeCombo(this))
    , preview(new CGridCtrl(0, 0, 0, 0, this))
    , sizeNote(new QLabel(StringTable::Get(StringId::FontSizeOutOfRange), this))
{
    setObjectName(QString::number(IDD));
    faceCombo->setObjectName(QString::number(IDC_FONT_NAME));
    styleCombo->setObjectName(QString::number(IDC_FONT_STYLE));
    sizeCombo->setObjectName(QString::number(IDC_FONT_SIZE));
    preview->setObjectName(QString::number(IDC_PREVIEW));
    preview->SetDlgCtrlID(IDC_PREVIEW);

    const int characterWidth = fontMetrics().averageCharWidth();
    faceCombo->setMinimumWidth(characterWidth * 30);
    styleCombo->setMinimumWidth(characterWidth * 14);
    sizeCombo->setMinimumWidth(characterWidth * 8);
    preview->setMinimumSize(characterWidth * 60, fontMetrics().height() * 10);

    auto* layout = new QGridLayout(this);
    layout->addWidget(MakeLabel(tr("&Font:"), faceCombo, this), 0, 0);
    layout->addWidget(MakeLabel(tr("Font St&yle:"), styleCombo, this), 0, 1);
    layout->addWidget(MakeLabel(tr("&Size:"), sizeCombo, this), 0, 2);
    layout->addWidget(faceCombo, 1, 0);
    layout->addWidget(styleCombo, 1, 1);
    layout->addWidget(sizeCombo, 1, 2);
    layout->addWidget(preview, 2, 0, 1, 3);
    // Kept in the layout while hidden, so the preview does not jump as the
    // note comes and goes.
    QSizePolicy notePolicy = sizeNote->sizePolicy();
    notePolicy.setRetainSizeWhenHidden(true);
    sizeNote->setSizePolicy(notePolicy);
    sizeNote->hide();
    layout->addWidget(sizeNote, 3, 0, 1, 3);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 2);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(2, 1);

    connect(faceCombo, &QComboBox::currentIndexChanged, this, [this] {
        if (!updating)
            OnFaceChosen();
    });
    connect(faceCombo->lineEdit(), &QLineEdit::textEdited, this, &CFontPropertyPage::OnFaceTyped);
    connect(faceCombo->lineEdit(), &QLineEdit::editingFinished, this, &CFontPropertyPage::OnFaceEditingFinished);
    connect(sizeCombo, &QComboBox::currentIndexChanged, this, &CFontPropertyPage::OnSizeChosen);
    connect(sizeCombo->lineEdit(), &QLineEdit::textEdited, this, &CFontPropertyPage::OnSizeTyped);
    connect(styleCombo, &QComboBox::currentIndexChanged, this, &CFontPropertyPage::OnStyleChosen);
}

CFontPropertyPage::~CFontPropertyPage()
{
    // The face field loses the focus while the children are destroyed; its
    // editing-finished signal must not reach the page that is gone.
    faceCombo->lineEdit()->disconnect(this);
}

void CFontPropertyPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!initialised)
        OnInitDialog();
}

void CFontPropertyPage::OnInitDialog()
{
    initialised = true;
    FillPreviewCells();
    {
        const QSignalBlocker blocker(faceCombo);
        faceCombo->Fill();
    }
    const bool noFaces = faceCombo->count() == 0;
    faceCombo->setDisabled(noFaces);
    styleCombo->setDisabled(noFaces);
    sizeCombo->setDisabled(noFaces);
    wantedStyle = (pageData.bold ? StyleBold : 0) | (pageData.italic ? StyleItalic : 0);
    SelectFace(pageData.faceName);
}

void CFontPropertyPage::FillPreviewCells()
{
    preview->SetRowCount(PreviewRows);
    preview->SetColumnCount(PreviewColumns);
    preview->SetFixedRowCount(1);
    preview->SetFixedColumnCount(1);
    for (int col = 1; col < PreviewColumns; ++col)
        preview->SetCellText(0, col, QStringLiteral("Column %1").arg(col));
    for (int row = 1; row < PreviewRows; ++row) {
        preview->SetCellText(row, 0, QStringLiteral("Row %1").arg(row));
        // The numbers only give the cells something to show.
        for (int col = 1; col < PreviewColumns; ++col)
            preview->SetCellText(row, col, QString::number(QRandomGenerator::global()->bounded(row * col)));
    }
}

void CFontPropertyPage::SelectFace(const QString& name)
{
    const int index = faceCombo->FindFace(name);
    {
        const QSignalBlocker blocker(faceCombo);
        faceCombo->setCurrentIndex(index);
        if (index < 0)
            faceCombo->setEditText(name);
    }
    OnFaceChosen();
}

void CFontPropertyPage::OnFaceChosen()
{
    const QString family = ChosenFace();
    // The size shown stays when the face changes; the first time, the
    // list is still empty and the page's size is shown.
    const QString sizeText = sizeCombo->count() > 0 ? sizeCombo->currentText() : QString::number(pageData.size);
    updating = true;
    FillStyles(family);
    FillSizes(family);
    SelectSize(sizeText);
    SelectStyle();
    updating = false;
    UpdatePreview();
}

void CFontPropertyPage::FillStyles(const QString& family)
{
    bool regular = false;
    bool bold = false;
    bool italic = false;
    for (const QString& style : QFontDatabase::styles(family)) {
        const bool isBold = QFontDatabase::weight(family, style) >= QFont::Bold;
        const bool isItalic = QFontDatabase::italic(family, style);
        bold = bold || isBold;
        italic = italic || isItalic;
        regular = regular || (!isBold && !isItalic);
    }
    // Qt makes bold and slanted faces from a regular one; a face it does
    // not know at all is drawn with a substitute that has every style.
    if (regular || !(bold || italic))
        regular = bold = italic = true;
    styleCombo->clear();
    const std::array offered{regular, bold, italic, bold || italic};
    for (std::size_t entry = 0; entry < StyleEntries.size(); ++entry) {
        if (offered[entry])
            styleCombo->addItem(StringTable::Get(StyleEntries[entry].stringId), StyleEntries[entry].code);
    }
}

void CFontPropertyPage::FillSizes(const QString& family)
{
    sizeCombo->clear();
    const bool scalable = QFontDatabase::isSmoothlyScalable(family) || QFontDatabase::isScalable(family);
    if (!scalable) {
        for (int points : QFontDatabase::pointSizes(family))
            sizeCombo->AddSize(points);
    }
    if (scalable || sizeCombo->count() == 0) {
        for (int points : StandardSizes)
            sizeCombo->AddSize(points);
    }
}

void CFontPropertyPage::SelectSize(const QString& text)
{
    const int index = sizeCombo->FindExact(text);
    sizeCombo->setCurrentIndex(index);
    if (index < 0)
        sizeCombo->setEditText(text);
}

void CFontPropertyPage::SelectStyle()
{
    int index = styleCombo->findData(wantedStyle);
    if (index < 0)
        index = 0;
    styleCombo->setCurrentIndex(index);
    currentStyle = styleCombo->itemData(index).toInt();
}

void CFontPropertyPage::UpdatePreview()
{
    // A size being typed ("2" on the way to "20", or "200") leaves the
    // preview at the last size it could show, and the note says why.
    const int points = PreviewPoints();
    const bool usable = points >= MinSize && points <= MaxSize;
    sizeNote->setVisible(!usable && !sizeCombo->currentText().trimmed().isEmpty());
    if (!usable)
        return;
    previewFont.lfFaceName = ChosenFace();
    previewFont.lfHeight = -qRound(ScreenDpi() * points / 72.0);
    previewFont.lfWeight = (currentStyle & StyleBold) ? LogFont::FW_BOLD : LogFont::FW_NORMAL;
    previewFont.lfItalic = (currentStyle & StyleItalic) != 0;
    preview->setFont(previewFont.ToQFont());
    preview->AutoSize();
}

QString CFontPropertyPage::ChosenFace() const
{
    const int index = faceCombo->currentIndex();
    return index >= 0 ? faceCombo->itemText(index) : pageData.faceName;
}

int CFontPropertyPage::PreviewPoints() const
{
    const int index = sizeCombo->currentIndex();
    if (index >= 0)
        return sizeCombo->itemData(index).toInt();
    return sizeCombo->TypedPoints();
}

void CFontPropertyPage::OnFaceTyped(const QString& text)
{
    // Only a whole name chooses a face while typing: a partial one would
    // jump to whatever face it happens to begin.
    const int index = faceCombo->FindExact(text);
    if (index < 0 || index == faceCombo->currentIndex())
        return;
    faceCombo->setCurrentIndex(index);
    faceCombo->lineEdit()->deselect();
}

void CFontPropertyPage::OnFaceEditingFinished()
{
    // A name that is no listed face (typed, or a face of another system)
    // becomes the face Qt would draw it with, so the field shows what the
    // preview draws.
    const QString typed = faceCombo->currentText();
    if (faceCombo->currentIndex() < 0 || typed != faceCombo->itemText(faceCombo->currentIndex()))
        SelectFace(typed);
}

void CFontPropertyPage::OnSizeChosen(int index)
{
    if (updating || index < 0)
        return;
    UpdatePreview();
}

void CFontPropertyPage::OnSizeTyped(const QString& text)
{
    const int index = sizeCombo->FindExact(text);
    if (index >= 0) {
        const QSignalBlocker blocker(sizeCombo);
        sizeCombo->setCurrentIndex(index);
        sizeCombo->lineEdit()->deselect();
    } else if (sizeCombo->currentIndex() >= 0) {
        // A size not in the list: the list no longer stands for the field.
        const QSignalBlocker blocker(sizeCombo);
        sizeCombo->setCurrentIndex(-1);
        sizeCombo->setEditText(text);
    }
    UpdatePreview();
}

void CFontPropertyPage::OnStyleChosen(int index)
{
    if (updating || index < 0)
        return;
    currentStyle = wantedStyle = styleCombo->itemData(index).toInt();
    UpdatePreview();
}

void CFontPropertyPage::OnKillActive()
{
    if (!initialised)
        return;
    OnFaceEditingFinished();
    if (faceCombo->currentIndex() >= 0)
        pageData.faceName = faceCombo->itemText(faceCombo->currentIndex());
    if (styleCombo->currentIndex() >= 0) {
        pageData.bold = currentStyle & StyleBold;
        pageData.italic = currentStyle & StyleItalic;
    }
    if (!sizeCombo->currentText().trimmed().isEmpty())
        pageData.size = sizeCombo->TypedPoints();
}

QString CFontPropertyPage::Validate()
{
    OnKillActive();
    if (pageData.size >= MinSize && pageData.size <= MaxSize)
        return {};
    sizeCombo->setFocus();
    sizeCombo->lineEdit()->selectAll();
    return StringTable::Get(StringId::FontSizeOutOfRange);
}

int CFontPropertyPage::ScreenDpi()
{
    // Read once, the first time a page is set up, and kept for the run.
    static const int dpi = [] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? qRound(screen->logicalDotsPerInchY()) : 96;
    }();
    return dpi;
}
