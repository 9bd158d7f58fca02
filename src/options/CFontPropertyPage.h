#pragma once

#include "grid/LogFont.h"

#include <QWidget>

class CGridCtrl;
class FontNameCombo;
class FontSizeCombo;
class QComboBox;
class QLabel;

// The "Font" tab: the face, style and size of every grid and of the table
// view's tab strip, with a small grid that previews each change at once.
// What the lists show is what the preview draws and what OK stores.
class CFontPropertyPage : public QWidget
{
    Q_OBJECT

public:
    static constexpr int IDD = 104;
    static constexpr int IDC_FONT_NAME = 1017;
    static constexpr int IDC_FONT_STYLE = 1018;
    static constexpr int IDC_FONT_SIZE = 1019;
    static constexpr int IDC_PREVIEW = 1020;

    // Style codes: the style list's item data; bold is bit 32, italic bit 1.
    static constexpr int StyleRegular = 64;
    static constexpr int StyleBold = 32;
    static constexpr int StyleItalic = 1;
    static constexpr int StyleBoldItalic = 33;

    static constexpr int MinSize = 1;
    static constexpr int MaxSize = 144;

    struct Data
    {
        QString faceName;
        int size = 9;
        bool bold = false;
        bool italic = false;
    };

    explicit CFontPropertyPage(QWidget* parent = nullptr);
    ~CFontPropertyPage() override;

    void SetData(const Data& data) { pageData = data; }
    // The page's values; a page never shown, or a list with nothing chosen,
    // answers what it was given.
    const Data& GetData() const { return pageData; }

    // Controls to the page's data, when the page is left or OK is pressed.
    void OnKillActive();
    // The message that refuses OK (a size outside 1..144), with the focus on
    // the size field; empty when the values can be used.
    QString Validate();

    FontNameCombo* FaceCombo() const { return faceCombo; }
    QComboBox* StyleCombo() const { return styleCombo; }
    FontSizeCombo* SizeCombo() const { return sizeCombo; }
    CGridCtrl* PreviewGrid() const { return preview; }
    // Says why the preview keeps its size while the typed one cannot be used.
    QLabel* SizeNote() const { return sizeNote; }
    const LogFont& PreviewFont() const { return previewFont; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnInitDialog();
    void FillPreviewCells();
    void SelectFace(const QString& name);
    void OnFaceChosen();
    void FillStyles(const QString& family);
    void FillSizes(const QString& family);
    void SelectSize(const QString& text);
    void SelectStyle();
    void UpdatePreview();
    QString ChosenFace() const;
    // The size the field holds, or 0 when it holds no usable size.
    int PreviewPoints() const;
    void OnFaceTyped(const QString& text);
    void OnFaceEditingFinished();
    void OnSizeChosen(int index);
    void OnSizeTyped(const QString& text);
    void OnStyleChosen(int index);
    static int ScreenDpi();

    Data pageData;
    bool initialised = false;
    // Set while the page itself refills or reselects the lists, so their
    // change signals do not run the steps that caused them again.
    bool updating = false;
    int wantedStyle = 0;
    int currentStyle = StyleRegular;
    LogFont previewFont;
    FontNameCombo* faceCombo;
    QComboBox* styleCombo;
    FontSizeCombo* sizeCombo;
    CGridCtrl* preview;
    QLabel* sizeNote;
};
