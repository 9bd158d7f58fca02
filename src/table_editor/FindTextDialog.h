#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The modeless Find dialog of the table view: find only, with match whole
// word, match case and the direction.  It only asks; the view searches.
class FindTextDialog : public QDialog
{
    Q_OBJECT

public:
    struct Request
    {
        QString text;
        bool wholeWord = false;
        bool matchCase = false;
        bool down = true;
    };

    explicit FindTextDialog(QWidget* parent = nullptr);

    Request CurrentRequest() const;
    QLineEdit* TextEdit() const { return textEdit; }
    QCheckBox* WholeWordBox() const { return wholeWordBox; }
    QCheckBox* MatchCaseBox() const { return matchCaseBox; }
    QRadioButton* UpButton() const { return upButton; }
    QRadioButton* DownButton() const { return downButton; }
    QPushButton* FindNextButton() const { return findNextButton; }

Q_SIGNALS:
    void FindNext(const FindTextDialog::Request& request);

private:
    QLineEdit* textEdit;
    QCheckBox* wholeWordBox;
    QCheckBox* matchCaseBox;
    QRadioButton* upButton;
    QRadioButton* downButton;
    QPushButton* findNextButton;
};
