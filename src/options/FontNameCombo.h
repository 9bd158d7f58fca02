#pragma once

#include <QComboBox>

// The face list of the font page: every font family installed, in
// alphabetical order without regard to case, each marked when it scales
// smoothly to any size.  Typing goes into its edit field without
// completion, so a partial name never jumps to another face.
class FontNameCombo : public QComboBox
{
    Q_OBJECT

public:
    static constexpr int ScalableRole = Qt::UserRole + 1;

    explicit FontNameCombo(QWidget* parent = nullptr);

    void Fill();
    bool IsScalable(int index) const;
    // The entry whose name is this one, in any letter case; -1 for none.
    int FindExact(const QString& name) const;
    // The entry a stored or typed face selects: the face itself, else the
    // family Qt draws that name with (on Debian "Arial" is drawn with
    // "Liberation Sans"); -1 when neither is listed.
    int FindFace(const QString& name) const;
};
