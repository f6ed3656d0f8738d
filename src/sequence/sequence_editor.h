#pragma once
// The motion-set editor: the list box holds the steps themselves (one step line
// per item), its selected line is the current step. Steps record the joints as
// they stand and are replayed through the joint panels, one step per press.
#include "arm/arm_panel.h"

#include <QObject>
#include <QString>
#include <array>
#include <string>
#include <vector>

class QFileDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QToolButton;
class QWidget;

namespace sequence {

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
    SequenceEditor(const SequenceWidgets &widgets, const arm::Joints &joints, QWidget *window, const QString &rfsDir);

    // The "Sequenz" menu's store: under the loaded file's name, or a name asked
    // for as saveAs() does when none is loaded. Both keep the list open.
    void save();
    void saveAs();

    int stepCount() const;
    // 0 is the first step; -1 while none is current.
    int currentStep() const;
    // The step before the current one becomes current (none before the first); nothing moves.
    void makePreviousStepCurrent();
    std::vector<std::string> steps() const;
    QString fileLabel() const;

    void btnSeqNeuClick();
    void btnSeqOpenClick();
    void btnSeqCloseClick();
    void btnSeqAddClick();
    void btnSeqDelClick();
    void btnSeqForwClick();
    void btnSeqRewClick();
    void ListBox1Click();
    void ApplyStep(const std::string &line);

signals:
    // Steps added or deleted, or the whole set replaced or emptied.
    void listChanged();
    // The step number was refreshed: the current step may be another one.
    void stepShown();

private:
    void selectStep(int row);
    bool store(const QString &path);
    void startEmptyMotionSet();
    QString fileLabelFor(const QString &path) const;
    void showFile(const QString &path);
    QString chooseFile(QFileDialog &dialog);

    SequenceWidgets widgets;
    arm::Joints joints;
    QString rfsDirectory; // with a trailing separator
    QString loadedFile; // empty while the set has no file
    QFileDialog *OpenDialog1;
    QFileDialog *SaveDialog1;
};

} // namespace sequence
