#pragma once
// The motion-set editor: the list box holds the steps themselves (one step line
// per item), its selected line is the current step. Steps record the joints as
// they stand and are replayed through the joint panels, one step per press.
#include "arm/arm_panel.h"

#include <QObject>
#include <QString>
#include <array>
#include <string>

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
    // The file dialogs belong to window; programDir ends with a separator.
    SequenceEditor(const SequenceWidgets &widgets, const arm::Joints &joints, QWidget *window,
                   const QString &programDir);

    void btnSeqNeuClick();
    void btnSeqOpenClick();
    void btnSeqCloseClick();
    void btnSeqAddClick();
    void btnSeqDelClick();
    void btnSeqForwClick();
    void btnSeqRewClick();
    void ListBox1Click();
    void ApplyStep(const std::string &line);

private:
    int currentStep() const;
    void selectStep(int row);
    void startEmptyMotionSet();
    QString fileLabelFor(const QString &path) const;
    QString chooseFile(QFileDialog &dialog);

    SequenceWidgets widgets;
    arm::Joints joints;
    QString programDirectory;
    QFileDialog *OpenDialog1;
    QFileDialog *SaveDialog1;
};

} // namespace sequence
