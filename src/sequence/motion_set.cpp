#include "sequence/motion_set.h"

#include "arm/arm.h"
#include "sequence/motion_set_file.h"
#include "sequence/step_line.h"
#include "toolkit/byte_text.h"

#include <QDir>

namespace sequence {

MotionSet::MotionSet(arm::Arm &arm, const QString &rfsDir, QObject *parent)
    : QObject(parent), arm(arm), rfsDirectory(rfsDir)
{
}

// Files in the program's RFS directory are shown relative to it; the search is a
// plain case-sensitive text search in the platform's own spelling of the path.
QString MotionSet::fileLabel() const
{
    if (path.isEmpty())
        return tr("Datei...");
    QString shown = QDir::toNativeSeparators(path);
    const QString rfsPrefix = QDir::toNativeSeparators(rfsDirectory);
    const int at = shown.indexOf(rfsPrefix);
    if (at >= 0)
        shown.remove(at, rfsPrefix.size());
    return shown;
}

void MotionSet::clear()
{
    lines.clear();
    current = -1;
    emit stepsReplaced();
    setFile(QString());
    emit stepNumberRefreshed();
}

std::optional<platform::UiText> MotionSet::load(const QString &file)
{
    std::vector<std::string> loaded;
    if (auto error = loadMotionSet(toolkit::filePathBytes(file), loaded))
        return error;
    lines = std::move(loaded);
    current = -1;
    emit stepsReplaced();
    setFile(file);
    return std::nullopt;
}

std::optional<platform::UiText> MotionSet::store(const QString &file) const
{
    return storeMotionSet(toolkit::filePathBytes(file), lines);
}

std::optional<platform::UiText> MotionSet::storeAs(const QString &file)
{
    auto error = store(file);
    if (!error)
        setFile(file);
    return error;
}

// Inserting after the current step leaves none current, so a following add
// appends at the end.
void MotionSet::addStep()
{
    StepValues values{};
    for (int i = 0; i < arm::kJoints; ++i) {
        values[std::size_t(2 * i)] = arm.joint(i).getSpeed();
        values[std::size_t(2 * i + 1)] = arm.joint(i).getPosition();
    }
    const int at = current < 0 ? stepCount() : current + 1;
    lines.insert(lines.begin() + at, recordStepLine(values));
    emit stepInserted(at);
    if (current >= 0)
        setCurrent(-1);
}

void MotionSet::deleteStep()
{
    const int at = current;
    if (at < 0)
        return;
    lines.erase(lines.begin() + at);
    current = -1; // before anyone hears of the removal
    emit stepRemoved(at);
    setCurrent(-1);
}

// Past the last step none is current and nothing is applied, as stepping back
// before the first does: stepping on starts the set again from step 1.
void MotionSet::stepForward()
{
    if (!lines.empty()) {
        const int next = current + 1;
        if (next < stepCount()) {
            setCurrent(next);
            ApplyStep(lines[std::size_t(next)]);
        } else {
            setCurrent(-1);
        }
    }
    emit stepNumberRefreshed();
}

void MotionSet::stepBack()
{
    if (current > 0) {
        setCurrent(current - 1);
        ApplyStep(lines[std::size_t(current)]);
    } else {
        setCurrent(-1);
    }
    emit stepNumberRefreshed();
}

void MotionSet::chooseStep(int index)
{
    setCurrent(index >= 0 && index < stepCount() ? index : -1);
    emit stepNumberRefreshed();
}

void MotionSet::makePreviousStepCurrent() { setCurrent(current > 0 ? current - 1 : -1); }

void MotionSet::setCurrent(int index)
{
    current = index;
    emit currentStepSet();
}

void MotionSet::setFile(const QString &file)
{
    path = file;
    emit fileChanged();
}

// Speed before position, joint 1 first; the arm's limits decide.
void MotionSet::ApplyStep(const std::string &line)
{
    const StepValues values = readStepLine(line);
    arm::Step step;
    for (std::size_t i = 0; i < step.size(); ++i)
        step[i] = {values[2 * i], values[2 * i + 1]};
    arm.applyStep(step);
}

} // namespace sequence
