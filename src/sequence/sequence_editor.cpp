#include "sequence/sequence_editor.h"

#include "sequence/motion_set.h"
#include "sequence/sequence_glyphs.h"
#include "toolkit/byte_text.h"
#include "toolkit/message_sink.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QToolButton>

namespace sequence {

namespace {

namespace msg = toolkit::msg;

// The dialog watches the directory it shows from its creation on, also while
// hidden: started in the working directory it would re-read it at every change
// there (a build directory, say) all day long; RFS/ is where it opens anyway.
QFileDialog *createMotionSetDialog(QWidget *owner, const QString &rfsDir, const char *name,
                                   QFileDialog::AcceptMode mode)
{
    auto *dialog = new QFileDialog(owner, QString(), rfsDir);
    dialog->setObjectName(QLatin1String(name));
    dialog->setAcceptMode(mode);
    // Any name may be typed: a missing file is reported when it is loaded.
    dialog->setFileMode(QFileDialog::AnyFile);
    // "*.*" would hide names without a dot, as they are common on Linux.
    dialog->setNameFilters({QCoreApplication::translate("sequence::SequenceEditor", "RoboterFahrSatz (*.rfs)"),
                            QCoreApplication::translate("sequence::SequenceEditor", "Alle (*)")});
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    return dialog;
}

// False, after telling why, when a file could not be loaded or stored.
bool succeeded(const std::optional<platform::UiText> &error)
{
    if (error)
        msg::show(msg::Kind::Error, msg::Buttons::Ok, *error);
    return !error;
}

} // namespace

SequenceEditor::SequenceEditor(const SequenceWidgets &widgets, MotionSet &motionSet, QWidget *window,
                               const QString &rfsDir)
    : QObject(window)
    , widgets(widgets)
    , motionSet(motionSet)
    , rfsDirectory(rfsDir)
    , OpenDialog1(createMotionSetDialog(window, rfsDir, "OpenDialog1", QFileDialog::AcceptOpen))
    , SaveDialog1(createMotionSetDialog(window, rfsDir, "SaveDialog1", QFileDialog::AcceptSave))
{
    OpenDialog1->setWindowTitle(tr("Verfahrsatz öffnen"));
    SaveDialog1->setWindowTitle(tr("Verfahrsatz speichern"));
    SaveDialog1->setDefaultSuffix(QStringLiteral("rfs"));
    const struct {
        QToolButton *button;
        SequenceGlyph glyph;
    } pictures[] = {
        {widgets.btnSeqNeu, SequenceGlyph::New},
        {widgets.btnSeqOpen, SequenceGlyph::Open},
        {widgets.btnSeqRew, SequenceGlyph::StepBack},
        {widgets.btnSeqForw, SequenceGlyph::StepForward},
        {widgets.btnSeqClose, SequenceGlyph::SaveAndClose},
        {widgets.btnSeqAdd, SequenceGlyph::AddStep},
        {widgets.btnSeqDel, SequenceGlyph::DeleteStep},
    };
    for (const auto &picture : pictures)
        picture.button->setIcon(sequenceGlyph(picture.glyph));

    connect(widgets.btnSeqNeu, &QToolButton::clicked, this, &SequenceEditor::btnSeqNeuClick);
    connect(widgets.btnSeqOpen, &QToolButton::clicked, this, &SequenceEditor::btnSeqOpenClick);
    connect(widgets.btnSeqRew, &QToolButton::clicked, this, &SequenceEditor::btnSeqRewClick);
    connect(widgets.btnSeqForw, &QToolButton::clicked, this, &SequenceEditor::btnSeqForwClick);
    connect(widgets.btnSeqClose, &QToolButton::clicked, this, &SequenceEditor::btnSeqCloseClick);
    connect(widgets.btnSeqAdd, &QToolButton::clicked, this, &SequenceEditor::btnSeqAddClick);
    connect(widgets.btnSeqDel, &QToolButton::clicked, this, &SequenceEditor::btnSeqDelClick);
    // Fires for mouse, keys and assistive tools alike; what the list shows of the
    // motion set is set with its signals blocked.
    connect(widgets.ListBox1, &QListWidget::itemSelectionChanged, this, &SequenceEditor::ListBox1Click);

    connect(&motionSet, &MotionSet::stepsReplaced, this, &SequenceEditor::showSteps);
    connect(&motionSet, &MotionSet::stepInserted, this, &SequenceEditor::showInsertedStep);
    connect(&motionSet, &MotionSet::stepRemoved, this, &SequenceEditor::showRemovedStep);
    connect(&motionSet, &MotionSet::currentStepSet, this, &SequenceEditor::showCurrentStep);
    connect(&motionSet, &MotionSet::stepNumberRefreshed, this, &SequenceEditor::showStepNumber);
    connect(&motionSet, &MotionSet::fileChanged, this, &SequenceEditor::showFile);
    showFile();
}

void SequenceEditor::showSteps()
{
    QStringList items;
    items.reserve(qsizetype(motionSet.stepCount()));
    for (const std::string &step : motionSet.steps())
        items << toolkit::fromBytes(step);
    const QSignalBlocker quiet(widgets.ListBox1);
    widgets.ListBox1->clear();
    widgets.ListBox1->addItems(items);
    showCurrentStep();
}

void SequenceEditor::showInsertedStep(int index)
{
    const QSignalBlocker quiet(widgets.ListBox1);
    widgets.ListBox1->insertItem(index, toolkit::fromBytes(motionSet.steps()[std::size_t(index)]));
}

void SequenceEditor::showRemovedStep(int index)
{
    const QSignalBlocker quiet(widgets.ListBox1);
    delete widgets.ListBox1->takeItem(index);
}

// The selected line is the current step. A line the operator selects is left as
// the list has it.
void SequenceEditor::showCurrentStep()
{
    if (operatorSelects)
        return;
    const int row = motionSet.currentStep();
    const QSignalBlocker quiet(widgets.ListBox1);
    if (row < 0) {
        widgets.ListBox1->clearSelection();
        widgets.ListBox1->setCurrentRow(-1);
    } else {
        widgets.ListBox1->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
}

void SequenceEditor::showStepNumber() { widgets.edtSchritt->setText(QString::number(motionSet.currentStep() + 1)); }

void SequenceEditor::showFile() { widgets.labSeqDatei->setText(motionSet.fileLabel()); }

int SequenceEditor::selectedStep() const
{
    const QList<QListWidgetItem *> selected = widgets.ListBox1->selectedItems();
    return selected.isEmpty() ? -1 : widgets.ListBox1->row(selected.first());
}

// Selecting a line does not move the arm: only step forward and back do.
void SequenceEditor::ListBox1Click()
{
    operatorSelects = true;
    motionSet.chooseStep(selectedStep());
    operatorSelects = false;
}

// The chosen path, or an empty text when the operator cancels.
QString SequenceEditor::chooseFile(QFileDialog &dialog)
{
    dialog.setDirectory(rfsDirectory);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

void SequenceEditor::startNew()
{
    if (msg::show(msg::Kind::Confirmation, msg::Buttons::YesNo,
                  UI_TEXT("sequence::SequenceEditor",
                          "Neuer Verfahrsatz wird angelegt,\nnicht gespeicherte Daten gehen verloren!"))
        == msg::Answer::Yes)
        motionSet.clear();
}

// A file that cannot be read leaves steps, label and step number as they were.
void SequenceEditor::open()
{
    const QString path = chooseFile(*OpenDialog1);
    if (!path.isEmpty())
        succeeded(motionSet.load(path));
}

void SequenceEditor::btnSeqNeuClick() { startNew(); }

void SequenceEditor::btnSeqOpenClick() { open(); }

// The steps are emptied only once the file is safely in place: a failed store
// keeps every step, and the old file of that name stays as it was.
void SequenceEditor::btnSeqCloseClick()
{
    const QString path = chooseFile(*SaveDialog1);
    if (!path.isEmpty() && succeeded(motionSet.store(path)))
        motionSet.clear();
}

void SequenceEditor::save()
{
    if (motionSet.file().isEmpty())
        saveAs();
    else
        succeeded(motionSet.store(motionSet.file()));
}

void SequenceEditor::saveAs()
{
    const QString path = chooseFile(*SaveDialog1);
    if (!path.isEmpty())
        succeeded(motionSet.storeAs(path));
}

void SequenceEditor::btnSeqAddClick() { motionSet.addStep(); }

void SequenceEditor::btnSeqDelClick() { motionSet.deleteStep(); }

void SequenceEditor::btnSeqForwClick() { motionSet.stepForward(); }

void SequenceEditor::btnSeqRewClick() { motionSet.stepBack(); }

} // namespace sequence
