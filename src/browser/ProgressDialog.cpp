#include "ProgressDialog.h"

#include <QProgressBar>
#include <QVBoxLayout>

namespace {
// The bar's width in dialog units, as the resource gives it.
constexpr int BarWidthUnits = 172;
} // namespace

ProgressDialog::ProgressDialog(const QString& title, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , bar(new QProgressBar(this))
{
    setWindowTitle(title);
    setModal(false);
    bar->setTextVisible(false);
    bar->setMinimumWidth(BarWidthUnits * fontMetrics().averageCharWidth() / 4);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    setFixedSize(sizeHint());
}
