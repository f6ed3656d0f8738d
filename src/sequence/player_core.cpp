#include "sequence/player_core.h"

#include "arm/ssc32.h"
#include "sequence/move_time.h"
#include "sequence/step_line.h"

#include <algorithm>

namespace sequence {

namespace {

using platform::UiText;
const UiText kReady = UI_TEXT("sequence::PlayerCore", "bereit");
const UiText kPlaying = UI_TEXT("sequence::PlayerCore", "spielt");
const UiText kPlayingTimed = UI_TEXT("sequence::PlayerCore", "spielt (keine Antwort auf Q: berechnete Fahrzeit)");
const UiText kPaused = UI_TEXT("sequence::PlayerCore", "angehalten (Pause gedrückt)");
const UiText kJointMoved = UI_TEXT("sequence::PlayerCore", "angehalten (Gelenk vom Bediener bewegt)");
const UiText kNoLink = UI_TEXT("sequence::PlayerCore", "Verbindung 1 ist nicht aufgebaut");
const UiText kEmpty = UI_TEXT("sequence::PlayerCore", "Der Verfahrsatz ist leer");
const UiText kStopped = UI_TEXT("sequence::PlayerCore", "gestoppt");
const UiText kFinished = UI_TEXT("sequence::PlayerCore", "Ablauf beendet");
const UiText kLinkGone = UI_TEXT("sequence::PlayerCore", "Verbindung 1 wurde getrennt");
const UiText kListChanged = UI_TEXT("sequence::PlayerCore", "Der Verfahrsatz wurde geändert");
const UiText kWindowClosed = UI_TEXT("sequence::PlayerCore", "Das Fenster wurde geschlossen");

// Resets a flag on every way out of the scope.
class FlagScope {
public:
    explicit FlagScope(bool &flag) : flag(flag) { flag = true; }
    ~FlagScope() { flag = false; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

private:
    bool &flag;
};

} // namespace

PlayerCore::PlayerCore(PlayerHost &host) : host(host), text(kReady) {}

bool PlayerCore::setDwellMs(int ms)
{
    if (ms < 0 || ms > kLongestDwellMs)
        return false;
    dwell = ms;
    return true;
}

platform::UiText PlayerCore::playingText() const { return timedMoves ? kPlayingTimed : kPlaying; }

void PlayerCore::play()
{
    if (phase == Phase::Idle) {
        if (!host.linkOpen()) {
            text = kNoLink;
            return;
        }
        text = setState();
        if (text.source() != kReady.source())
            return;
        timedMoves = false;
        playStep(true);
        return;
    }
    if (!holding)
        return;
    holding = false;
    text = playingText();
    if (phase == Phase::Held)
        goOn();
}

void PlayerCore::pause() { hold(kPaused); }

void PlayerCore::hold(const platform::UiText &reason)
{
    if (phase == Phase::Idle || holding)
        return;
    holding = true;
    text = reason;
    if (phase == Phase::Dwelling)
        phase = Phase::Held;
}

// A garbage line would be read as zeros and sent: the whole set is looked at
// before the first command, as a run may loop back to any step.
platform::UiText PlayerCore::setState() const
{
    const int steps = host.stepCount();
    if (steps == 0)
        return kEmpty;
    for (int i = 0; i < steps; ++i) {
        if (!isStepLine(host.stepLine(i)))
            return UI_TEXT("sequence::PlayerCore", "Schritt %1 ist kein gültiger Schritt").arg(i + 1);
    }
    return kReady;
}

void PlayerCore::stop()
{
    if (phase != Phase::Idle)
        end(kStopped);
}

// Whatever was asked on the old link is never answered on a new one.
void PlayerCore::linkClosed()
{
    unanswered = 0;
    earlierReplies = 0;
    if (phase != Phase::Idle)
        end(kLinkGone);
}

void PlayerCore::listChanged()
{
    if (phase != Phase::Idle)
        end(kListChanged);
    else
        text = setState();
}

void PlayerCore::windowClosed()
{
    if (phase != Phase::Idle)
        end(kWindowClosed);
}

void PlayerCore::jointChanged()
{
    if (!insideHost)
        hold(kJointMoved);
}

void PlayerCore::end(const platform::UiText &reason)
{
    phase = Phase::Idle;
    holding = false;
    text = reason;
}

// After the last step a run ends, or starts again at step 1 when it loops.
void PlayerCore::goOn()
{
    if (!loop && host.currentStep() >= host.stepCount() - 1)
        end(kFinished);
    else
        playStep(false);
}

// Anything the host calls back meanwhile (the link lost, say) may end the run:
// every host call is followed by a look at whether this step still plays.
void PlayerCore::playStep(bool firstFromReady)
{
    const std::vector<JointState> before = host.joints();
    phase = Phase::AwaitingCommand;
    text = playingText();
    {
        const FlagScope ownChanges(insideHost);
        if (firstFromReady) // a run starts with the current step, not the one after it
            host.makePreviousStepCurrent();
        host.playNextStep();
        // Past the last step the editor leaves none current; the next press starts at step 1.
        if (phase == Phase::AwaitingCommand && host.currentStep() < 0)
            host.playNextStep();
        if (phase == Phase::AwaitingCommand && host.currentStep() < 0)
            end(kEmpty);
        if (phase == Phase::AwaitingCommand && firstFromReady)
            applyFirstMoveSpeed(before);
    }
    if (phase != Phase::AwaitingCommand)
        return;
    const std::vector<JointState> after = host.joints();
    std::vector<JointMove> moves;
    for (std::size_t i = 0; i < std::min(before.size(), after.size()); ++i)
        moves.push_back({before[i].position, after[i].position, after[i].speed});
    moveMs = moveTimeMs(moves);
}

// Only joints that move need it: a joint that stays would be sent its new speed
// all the same, and show it in its speed list, for nothing.
void PlayerCore::applyFirstMoveSpeed(const std::vector<JointState> &before)
{
    const std::vector<JointState> after = host.joints();
    std::vector<int> moving;
    for (std::size_t i = 0; i < std::min(before.size(), after.size()); ++i) {
        if (after[i].position != before[i].position && after[i].speed == 0)
            moving.push_back(int(i));
    }
    if (!moving.empty())
        host.applyFirstMoveSpeed(moving, kFirstMoveSpeed);
}

void PlayerCore::armTickPassed(Millis now)
{
    if (insideHost || phase != Phase::AwaitingCommand)
        return;
    phase = Phase::Moving;
    commandAt = now;
    if (timedMoves) {
        arriveAt = now + moveMs;
        return;
    }
    heardAt = now;
    earlierReplies = unanswered;
    sendQuery(now, true);
}

// The host call comes last: a link that fails on it may end the run.
void PlayerCore::sendQuery(Millis now, bool log)
{
    nextQueryAt = now + kQueryPeriodMs;
    ++unanswered;
    host.sendMoveStatusQuery(log);
}

void PlayerCore::received(std::string_view block, Millis now)
{
    if (!arm::isMoveStatusReply(block))
        return;
    for (char status : block) {
        if (unanswered > 0)
            --unanswered;
        if (earlierReplies > 0) {
            --earlierReplies;
            continue;
        }
        moveStatus(status, now);
    }
}

void PlayerCore::moveStatus(char status, Millis now)
{
    if (phase != Phase::Moving || timedMoves)
        return;
    heardAt = now;
    if (status == '.')
        arrived(now);
}

void PlayerCore::arrived(Millis now)
{
    if (holding) {
        phase = Phase::Held;
        return;
    }
    phase = Phase::Dwelling;
    dwellEndsAt = now + dwell;
    if (dwell == 0)
        goOn();
}

// Said once in the state text; the rest of the run goes by the worked-out times.
void PlayerCore::giveUpOnQuery(Millis now)
{
    timedMoves = true;
    if (!holding)
        text = playingText();
    arriveAt = commandAt + moveMs;
    if (now >= arriveAt)
        arrived(now);
}

void PlayerCore::tick(Millis now)
{
    if (insideHost)
        return;
    switch (phase) {
    case Phase::Moving:
        if (timedMoves) {
            if (now >= arriveAt)
                arrived(now);
        } else if (now - heardAt >= kAnswerTimeoutMs) {
            giveUpOnQuery(now);
        } else if (now >= nextQueryAt) {
            sendQuery(now, false);
        }
        break;
    case Phase::Dwelling:
        if (now >= dwellEndsAt)
            goOn();
        break;
    case Phase::Idle:
    case Phase::AwaitingCommand:
    case Phase::Held:
        break;
    }
}

std::optional<Millis> PlayerCore::nextWakeAt() const
{
    switch (phase) {
    case Phase::Moving:
        if (timedMoves)
            return arriveAt;
        return std::min(nextQueryAt, heardAt + kAnswerTimeoutMs);
    case Phase::Dwelling:
        return dwellEndsAt;
    case Phase::Idle:
    case Phase::AwaitingCommand:
    case Phase::Held:
        break;
    }
    return std::nullopt;
}

} // namespace sequence
