#pragma once
// The motion set being edited: its steps (step lines, taken as they stand), the
// current step (-1 while none is current) and the file the steps came from. The
// step number is shown afresh only where an operation says so. The sequence
// editor's buttons and dialogs, the "Sequenz" menu and the player write it; the
// editor's list, step number and file label show it, the player and the printout
// read it. Steps are recorded from the arm as it stands and replayed to it
// through the arm, one step at a time.
#include "platform/uitext.h"

#include <QObject>
#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace arm {
class Arm;
}

namespace sequence {

class MotionSet : public QObject {
    Q_OBJECT

public:
    // Files in rfsDir (with a trailing separator) are labelled relative to it.
    MotionSet(arm::Arm &arm, const QString &rfsDir, QObject *parent = nullptr);

    const std::vector<std::string> &steps() const { return lines; }
    int stepCount() const { return int(lines.size()); }
    // 0 is the first step; -1 while none is current.
    int currentStep() const { return current; }
    // Empty while the steps have no file.
    const QString &file() const { return path; }
    // "Datei..." without a file.
    QString fileLabel() const;

    // No steps, no file, no current step, and the number shows 0.
    void clear();
    // The file's lines become the steps, none current; the number stays. On a
    // failure the message says why, and nothing changes.
    std::optional<platform::UiText> load(const QString &file);
    // Writes the steps to file; the set keeps its own file.
    std::optional<platform::UiText> store(const QString &file) const;
    // Writes the steps to file, which they come from from now on.
    std::optional<platform::UiText> storeAs(const QString &file);

    // The arm's pose, after the current step or at the end; none is current afterwards.
    void addStep();
    // The current step goes, and none is current; without one nothing happens.
    void deleteStep();
    // The next step (the first while none is current) becomes current and is
    // applied; past the last none is current and nothing is applied.
    void stepForward();
    // The previous step becomes current and is applied; at the first, or with
    // none current, none is current and nothing is applied.
    void stepBack();
    // The operator's choice (-1: none): only the number follows, the arm stays.
    void chooseStep(int index);
    // The step before the current one becomes current (none before the first);
    // nothing moves and the number stays.
    void makePreviousStepCurrent();

signals:
    void stepInserted(int index);
    void stepRemoved(int index);
    // All steps replaced or removed.
    void stepsReplaced();
    // Also when it stays the step it was.
    void currentStepSet();
    // The step number is shown afresh (currentStep() + 1), where an operation says so.
    void stepNumberRefreshed();
    void fileChanged();

private:
    void setCurrent(int index);
    void setFile(const QString &file);
    void ApplyStep(const std::string &line);

    arm::Arm &arm;
    const QString rfsDirectory;
    std::vector<std::string> lines;
    int current = -1;
    QString path;
};

} // namespace sequence
