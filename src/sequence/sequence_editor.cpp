// The motion-set editor: the list box holds the steps themselves (one step line per
// item), its selected line is the current step. Replay is manual, one step per press.
#include "app/tform1.h"

#include "app/message_sink.h"
#include "arm/servo.h"
#include "sequence/motion_set_file.h"
#include "sequence/sequence_glyphs.h"
#include "sequence/step_line.h"
#include "toolkit/byte_text.h"
#include "toolkit/track_bar.h"
#include "ui_tform1.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

const QString kNoFile = QStringLiteral("Datei...");
constexpr int kSpeedEntryStep = 100;

// The dialog watches the directory it shows from its creation on, also while
// hidden: started in the working directory it would re-read it at every change
// there (a build directory, say) all day long; RFS/ is where it opens anyway.
QFileDialog *createMotionSetDialog(TForm1 *owner, const char *name, QFileDialog::AcceptMode mode)
{
    auto *dialog = new QFileDialog(owner, QString(), owner->programDir() + QStringLiteral("RFS"));
    dialog->setObjectName(QLatin1String(name));
    dialog->setAcceptMode(mode);
    // Any name may be typed: a missing file is reported when it is loaded.
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilters({QStringLiteral("RoboterFahrSatz (*.rfs)"), QStringLiteral("Alle (*.*)")});
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    return dialog;
}

} // namespace

void TForm1::connectSequenceEditor()
{
    OpenDialog1 = createMotionSetDialog(this, "OpenDialog1", QFileDialog::AcceptOpen);
    OpenDialog1->setWindowTitle(QStringLiteral("Verfahrsatz öffnen"));
    SaveDialog1 = createMotionSetDialog(this, "SaveDialog1", QFileDialog::AcceptSave);
    SaveDialog1->setWindowTitle(QStringLiteral("Verfahrsatz speichern"));
    SaveDialog1->setDefaultSuffix(QStringLiteral("rfs"));

    const struct {
        QToolButton *button;
        SequenceGlyph glyph;
        void (TForm1::*handler)();
    } buttons[] = {
        {ui->btnSeqNeu, SequenceGlyph::New, &TForm1::btnSeqNeuClick},
        {ui->btnSeqOpen, SequenceGlyph::Open, &TForm1::btnSeqOpenClick},
        {ui->btnSeqRew, SequenceGlyph::StepBack, &TForm1::btnSeqRewClick},
        {ui->btnSeqForw, SequenceGlyph::StepForward, &TForm1::btnSeqForwClick},
        {ui->btnSeqClose, SequenceGlyph::SaveAndClose, &TForm1::btnSeqCloseClick},
        {ui->btnSeqAdd, SequenceGlyph::AddStep, &TForm1::btnSeqAddClick},
        {ui->btnSeqDel, SequenceGlyph::DeleteStep, &TForm1::btnSeqDelClick},
    };
    for (const auto &entry : buttons) {
        entry.button->setIcon(sequenceGlyph(entry.glyph));
        connect(entry.button, &QToolButton::clicked, this, entry.handler);
    }
    // Fires for mouse, keys and assistive tools alike; the editor's own changes
    // to the list are made with its signals blocked.
    connect(ui->ListBox1, &QListWidget::itemSelectionChanged, this, &TForm1::ListBox1Click);
}

int TForm1::currentStep() const
{
    const QList<QListWidgetItem *> selected = ui->ListBox1->selectedItems();
    return selected.isEmpty() ? -1 : ui->ListBox1->row(selected.first());
}

// Changes the current step without running ListBox1Click: the step number is
// refreshed only where an operation says so.
void TForm1::selectStep(int row)
{
    const QSignalBlocker quiet(ui->ListBox1);
    if (row < 0) {
        ui->ListBox1->clearSelection();
        ui->ListBox1->setCurrentRow(-1);
    } else {
        ui->ListBox1->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
}

void TForm1::refreshStepNumber() { ui->edtSchritt->setText(QString::number(currentStep() + 1)); }

// Files in the program's RFS directory are shown relative to it; the search is a
// plain case-sensitive text search in the platform's own spelling of the path.
QString TForm1::fileLabelFor(const QString &path) const
{
    QString shown = QDir::toNativeSeparators(path);
    const QString rfsPrefix = QDir::toNativeSeparators(programDir() + QStringLiteral("RFS/"));
    const int at = shown.indexOf(rfsPrefix);
    if (at >= 0)
        shown.remove(at, rfsPrefix.size());
    return shown;
}

// The chosen path, or an empty text when the operator cancels.
QString TForm1::chooseFile(QFileDialog &dialog)
{
    dialog.setDirectory(programDir() + QStringLiteral("RFS"));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

// No steps, no file, no current step (the number shows 0).
void TForm1::startEmptyMotionSet()
{
    {
        const QSignalBlocker quiet(ui->ListBox1);
        ui->ListBox1->clear();
    }
    ui->labSeqDatei->setText(kNoFile);
    refreshStepNumber();
}

void TForm1::btnSeqNeuClick()
{
    if (msg::show(msg::Kind::Confirmation, msg::Buttons::YesNo,
                  "Neuer Verfahrsatz wird angelegt,\nnicht gespeicherte Daten gehen verloren!")
        != msg::Answer::Yes)
        return;
    startEmptyMotionSet();
}

// A file that cannot be read leaves list, label and step number as they were.
void TForm1::btnSeqOpenClick()
{
    const QString path = chooseFile(*OpenDialog1);
    if (path.isEmpty())
        return;
    std::vector<std::string> steps;
    if (const auto error = sequence::loadMotionSet(toolkit::filePathBytes(path), steps)) {
        msg::show(msg::Kind::Error, msg::Buttons::Ok, *error);
        return;
    }
    QStringList items;
    items.reserve(qsizetype(steps.size()));
    for (const std::string &step : steps)
        items << toolkit::fromBytes(step);
    {
        const QSignalBlocker quiet(ui->ListBox1);
        ui->ListBox1->clear();
        ui->ListBox1->addItems(items);
    }
    selectStep(-1);
    ui->labSeqDatei->setText(fileLabelFor(path));
}

// The list is emptied only once the file is safely in place: a failed store
// keeps every step, and the old file of that name stays as it was.
void TForm1::btnSeqCloseClick()
{
    const QString path = chooseFile(*SaveDialog1);
    if (path.isEmpty())
        return;
    std::vector<std::string> steps;
    steps.reserve(std::size_t(ui->ListBox1->count()));
    for (int row = 0; row < ui->ListBox1->count(); ++row)
        steps.push_back(toolkit::toBytes(ui->ListBox1->item(row)->text()));
    if (const auto error = sequence::storeMotionSet(toolkit::filePathBytes(path), steps)) {
        msg::show(msg::Kind::Error, msg::Buttons::Ok, *error);
        return;
    }
    startEmptyMotionSet();
}

// Inserting after the current step clears the selection, so a following add
// appends at the end; the step number is left as it was.
void TForm1::btnSeqAddClick()
{
    sequence::StepValues values{};
    for (std::size_t i = 0; i < joints.size(); ++i) {
        values[2 * i] = joints[i].servo->getSpeed();
        values[2 * i + 1] = joints[i].servo->getPosition();
    }
    const QString line = toolkit::fromBytes(sequence::recordStepLine(values));
    const int current = currentStep();
    if (current < 0) {
        const QSignalBlocker quiet(ui->ListBox1);
        ui->ListBox1->addItem(line);
        return;
    }
    {
        const QSignalBlocker quiet(ui->ListBox1);
        ui->ListBox1->insertItem(current + 1, line);
    }
    selectStep(-1);
}

void TForm1::btnSeqDelClick()
{
    const int current = currentStep();
    if (current < 0)
        return;
    {
        const QSignalBlocker quiet(ui->ListBox1);
        delete ui->ListBox1->takeItem(current);
    }
    selectStep(-1);
}

// Past the last step the selection is cleared and nothing is applied, as step
// back does before the first one: pressing on starts the set again from step 1.
void TForm1::btnSeqForwClick()
{
    const int count = ui->ListBox1->count();
    if (count > 0) {
        const int next = currentStep() + 1;
        if (next < count) {
            selectStep(next);
            ApplyStep(toolkit::toBytes(ui->ListBox1->item(next)->text()));
        } else {
            selectStep(-1);
        }
    }
    refreshStepNumber();
}

void TForm1::btnSeqRewClick()
{
    const int current = currentStep();
    if (current > 0) {
        selectStep(current - 1);
        ApplyStep(toolkit::toBytes(ui->ListBox1->item(current - 1)->text()));
    } else {
        selectStep(-1);
    }
    refreshStepNumber();
}

// Selecting a line only shows its number; the arm moves with step forward/back.
void TForm1::ListBox1Click() { refreshStepNumber(); }

// Speed before position, joint 1 first. The position goes through the slider so
// the joint panel's limit check decides; a position beyond the slider's range is
// not clamped into it (a clamped 500 could pass a limit of 500) but refused like
// any position outside the limits: the slider returns to the joint's position.
void TForm1::ApplyStep(const std::string &line)
{
    const sequence::StepValues values = sequence::readStepLine(line);
    for (std::size_t i = 0; i < joints.size(); ++i) {
        JointControls &joint = joints[i];
        const int speed = values[2 * i];
        const int position = values[2 * i + 1];
        const int entry = speed / kSpeedEntryStep;
        joint.speed->setCurrentIndex(entry >= 0 && entry < joint.speed->count() ? entry : -1);
        joint.servo->setSpeed(speed);
        const bool sliderCanShow = joint.slider->minimum() <= position && position <= joint.slider->maximum();
        joint.slider->setValue(sliderCanShow ? position : joint.servo->getPosition());
    }
}
