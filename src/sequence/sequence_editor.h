#pragma once
// The motion-set editor: the group's buttons, the list of steps, the step number
// and the file label, and the two file dialogs. The list, the number and the
// label show the motion set; the buttons and dialogs act on it.
#include <QObject>
#include <QString>

class QFileDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QToolButton;
class QWidget;

namespace sequence {

class MotionSet;

struct SequenceWidgets {
    QListWidget *ListBox1;
    QLineEdit *edtSchritt;
    QLabel *labSeqDatei;
    QToolButton *btnSeqNeu;
    QToolButton *btnSeqOpen;
    QToolButton *btnSeqRew;
    QToolButton *btnSeqForw;
    QToolButton *btnSeqClose;
    QToolButton *btnSeqAdd;
    QToolButton *btnSeqDel;
};

class SequenceEditor : public QObject {
    Q_OBJECT

public:
    // The file dialogs belong to window and open in RFS/.
    SequenceEditor(const SequenceWidgets &widgets, MotionSet &motionSet, QWidget *window, const QString &rfsDir);

    // New and Open, asking as the buttons do.
    void startNew();
    void open();
    // The "Sequenz" menu's store: under the set's file, or a name asked for as
    // saveAs() does when it has none. Both keep the steps.
    void save();
    void saveAs();

private:
    void btnSeqNeuClick();
    void btnSeqOpenClick();
    void btnSeqCloseClick();
    void btnSeqAddClick();
    void btnSeqDelClick();
    void btnSeqForwClick();
    void btnSeqRewClick();
    void ListBox1Click();

    void showSteps();
    void showInsertedStep(int index);
    void showRemovedStep(int index);
    void showCurrentStep();
    void showStepNumber();
    void showFile();
    int selectedStep() const;
    QString chooseFile(QFileDialog &dialog);

    SequenceWidgets widgets;
    MotionSet &motionSet;
    QString rfsDirectory; // with a trailing separator
    QFileDialog *OpenDialog1;
    QFileDialog *SaveDialog1;
    bool operatorSelects = false;
};

} // namespace sequence
