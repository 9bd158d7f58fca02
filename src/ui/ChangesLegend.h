#pragma once

#include <QWidget>

// The small key under a table that shows its changes: a swatch and a word
// for each tint, and how many changes the table holds.
class ChangesLegend : public QWidget
{
    Q_OBJECT

public:
    explicit ChangesLegend(QWidget* parent = nullptr);

    // "12 changes against the game" (or against what is given); a conflict
    // swatch only where asked.
    void SetCount(int changes, const QString& against = tr("the game"));
    void ShowConflicts(bool shown);
    const QString& CountText() const { return countText; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString countText;
    bool conflicts = false;
};
