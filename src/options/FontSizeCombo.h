#pragma once

#include <QComboBox>

// The size list of the font page: sizes in points, kept from the smallest
// to the largest without duplicates, with an edit field for any other size.
class FontSizeCombo : public QComboBox
{
    Q_OBJECT

public:
    explicit FontSizeCombo(QWidget* parent = nullptr);

    void AddSize(int points);
    // The entry whose text is exactly this one; -1 for none (so "1" does not
    // find "10").
    int FindExact(const QString& text) const;
    // The number the edit field starts with; 0 when it starts with none.
    int TypedPoints() const;
};
