#include "sequence/sequence_editor.h"

#include "arm/joint_panel.h"
#include "sequence/motion_set_file.h"
#include "sequence/sequence_glyphs.h"
#include "sequence/step_line.h"
#include "toolkit/byte_text.h"
#include "toolkit/message_sink.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QToolButton>

namespace sequence {

namespace {

namespace msg = toolkit::msg;

const QString kNoFile = QStringLiteral("Datei...");

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
    dialog->setNameFilters({QStringLiteral("RoboterFahrSatz (*.rfs)"), QStringLiteral("Alle (*)")});
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    return dialog;
}

} // namespace

SequenceEditor::SequenceEditor(const SequenceWidgets &widgets, const arm::Joints &joints, QWidget *window,
                               const QString &rfsDir)
    : QObject(window)
    , widgets(widgets)
    , joints(joints)
    , rfsDirectory(rfsDir)
    , OpenDialog1(createMotionSetDialog(window, rfsDir, "OpenDialog1", QFileDialog::AcceptOpen))
    , SaveDialog1(createMotionSetDialog(window, rfsDir, "SaveDialog1", QFileDialog::AcceptSave))
{
    OpenDialog1->setWindowTitle(QStringLiteral("Verfahrsatz öffnen"));
    SaveDialog1->setWindowTitle(QStringLiteral("Verfahrsatz speichern"));
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
    // Fires for mouse, keys and assistive tools alike; the editor's own changes
    // to the list are made with its signals blocked.
    connect(widgets.ListBox1, &QListWidget::itemSelectionChanged, this, &SequenceEditor::ListBox1Click);
}

int SequenceEditor::stepCount() const { return widgets.ListBox1->count(); }

int SequenceEditor::currentStep() const
{
    const QList<QListWidgetItem *> selected = widgets.ListBox1->selectedItems();
    return selected.isEmpty() ? -1 : widgets.ListBox1->row(selected.first());
}

// Changes the current step without running ListBox1Click: the step number is
// refreshed only where an operation says so.
void SequenceEditor::selectStep(int row)
{
    const QSignalBlocker quiet(widgets.ListBox1);
    if (row < 0) {
        widgets.ListBox1->clearSelection();
        widgets.ListBox1->setCurrentRow(-1);
    } else {
        widgets.ListBox1->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
}

// Also what selecting a line does: the arm moves with step forward/back only.
void SequenceEditor::ListBox1Click()
{
    widgets.edtSchritt->setText(QString::number(currentStep() + 1));
    emit stepShown();
}

void SequenceEditor::makePreviousStepCurrent() { selectStep(currentStep() - 1); }

std::vector<std::string> SequenceEditor::steps() const
{
    std::vector<std::string> lines;
    lines.reserve(std::size_t(widgets.ListBox1->count()));
    for (int row = 0; row < widgets.ListBox1->count(); ++row)
        lines.push_back(toolkit::toBytes(widgets.ListBox1->item(row)->text()));
    return lines;
}

QString SequenceEditor::fileLabel() const { return widgets.labSeqDatei->text(); }

// Files in the program's RFS directory are shown relative to it; the search is a
// plain case-sensitive text search in the platform's own spelling of the path.
QString SequenceEditor::fileLabelFor(const QString &path) const
{
    QString shown = QDir::toNativeSeparators(path);
    const QString rfsPrefix = QDir::toNativeSeparators(rfsDirectory);
    const int at = shown.indexOf(rfsPrefix);
    if (at >= 0)
        shown.remove(at, rfsPrefix.size());
    return shown;
}

// The chosen path, or an empty text when the operator cancels.
QString SequenceEditor::chooseFile(QFileDialog &dialog)
{
    dialog.setDirectory(rfsDirectory);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

// No steps, no file, no current step (the number shows 0).
void SequenceEditor::startEmptyMotionSet()
{
    {
        const QSignalBlocker quiet(widgets.ListBox1);
        widgets.ListBox1->clear();
    }
    widgets.labSeqDatei->setText(kNoFile);
    loadedFile.clear();
    ListBox1Click();
    emit listChanged();
}

void SequenceEditor::showFile(const QString &path)
{
    loadedFile = path;
    widgets.labSeqDatei->setText(fileLabelFor(path));
}

void SequenceEditor::btnSeqNeuClick()
{
    if (msg::show(msg::Kind::Confirmation, msg::Buttons::YesNo,
                  "Neuer Verfahrsatz wird angelegt,\nnicht gespeicherte Daten gehen verloren!")
        != msg::Answer::Yes)
        return;
    startEmptyMotionSet();
}

// A file that cannot be read leaves list, label and step number as they were.
void SequenceEditor::btnSeqOpenClick()
{
    const QString path = chooseFile(*OpenDialog1);
    if (path.isEmpty())
        return;
    std::vector<std::string> steps;
    if (const auto error = loadMotionSet(toolkit::filePathBytes(path), steps)) {
        msg::show(msg::Kind::Error, msg::Buttons::Ok, *error);
        return;
    }
    QStringList items;
    items.reserve(qsizetype(steps.size()));
    for (const std::string &step : steps)
        items << toolkit::fromBytes(step);
    {
        const QSignalBlocker quiet(widgets.ListBox1);
        widgets.ListBox1->clear();
        widgets.ListBox1->addItems(items);
    }
    selectStep(-1);
    showFile(path);
    emit listChanged();
}

// The list is emptied only once the file is safely in place: a failed store
// keeps every step, and the old file of that name stays as it was.
void SequenceEditor::btnSeqCloseClick()
{
    const QString path = chooseFile(*SaveDialog1);
    if (!path.isEmpty() && store(path))
        startEmptyMotionSet();
}

// False, after telling why, when the file could not be stored.
bool SequenceEditor::store(const QString &path)
{
    if (const auto error = storeMotionSet(toolkit::filePathBytes(path), steps())) {
        msg::show(msg::Kind::Error, msg::Buttons::Ok, *error);
        return false;
    }
    return true;
}

void SequenceEditor::save()
{
    if (loadedFile.isEmpty())
        saveAs();
    else
        store(loadedFile);
}

void SequenceEditor::saveAs()
{
    const QString path = chooseFile(*SaveDialog1);
    if (!path.isEmpty() && store(path))
        showFile(path);
}

// Inserting after the current step clears the selection, so a following add
// appends at the end; the step number is left as it was.
void SequenceEditor::btnSeqAddClick()
{
    StepValues values{};
    for (std::size_t i = 0; i < joints.size(); ++i) {
        values[2 * i] = joints[i]->speed();
        values[2 * i + 1] = joints[i]->position();
    }
    const QString line = toolkit::fromBytes(recordStepLine(values));
    const int current = currentStep();
    {
        const QSignalBlocker quiet(widgets.ListBox1);
        widgets.ListBox1->insertItem(current < 0 ? widgets.ListBox1->count() : current + 1, line);
    }
    if (current >= 0)
        selectStep(-1);
    emit listChanged();
}

void SequenceEditor::btnSeqDelClick()
{
    const int current = currentStep();
    if (current < 0)
        return;
    {
        const QSignalBlocker quiet(widgets.ListBox1);
        delete widgets.ListBox1->takeItem(current);
    }
    selectStep(-1);
    emit listChanged();
}

// Past the last step the selection is cleared and nothing is applied, as step
// back does before the first one: pressing on starts the set again from step 1.
void SequenceEditor::btnSeqForwClick()
{
    const int count = widgets.ListBox1->count();
    if (count > 0) {
        const int next = currentStep() + 1;
        if (next < count) {
            selectStep(next);
            ApplyStep(toolkit::toBytes(widgets.ListBox1->item(next)->text()));
        } else {
            selectStep(-1);
        }
    }
    ListBox1Click();
}

void SequenceEditor::btnSeqRewClick()
{
    const int current = currentStep();
    if (current > 0) {
        selectStep(current - 1);
        ApplyStep(toolkit::toBytes(widgets.ListBox1->item(current - 1)->text()));
    } else {
        selectStep(-1);
    }
    ListBox1Click();
}

// Speed before position, joint 1 first; the joint panel's limit check decides.
void SequenceEditor::ApplyStep(const std::string &line)
{
    const StepValues values = readStepLine(line);
    for (std::size_t i = 0; i < joints.size(); ++i)
        joints[i]->applyStep(values[2 * i], values[2 * i + 1]);
}

} // namespace sequence
