#pragma once
// The motion-set player without a window: plays the steps one after another, each
// as the editor's Step forward, and waits for the arm to arrive before it dwells
// and plays the next. Arrival is asked of the SSC-32 with its move-status query
// "Q" (one byte back: '+' moving, '.' done); a controller that does not answer is
// given the move time worked out from the step instead. Time is passed in with
// every event that needs it (milliseconds, monotonic), so the player runs just as
// well over a made-up clock.
#include "platform/uitext.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sequence {

using Millis = std::int64_t;

struct JointState {
    int position = 0;
    int speed = 0; // µs per second; 0 = no speed term
};

// What the player needs of the console: the motion set, the joints and link 1.
class PlayerHost {
public:
    virtual ~PlayerHost() = default;
    virtual int stepCount() const = 0;
    // 0 is the first step.
    virtual std::string stepLine(int index) const = 0;
    // 0 is the first step; -1 while none is current.
    virtual int currentStep() const = 0;
    virtual bool linkOpen() const = 0;
    // The five joints as they stand now, Basis first.
    virtual std::vector<JointState> joints() const = 0;
    // The editor's Step forward: the step after the current one (the first while
    // none is current) becomes current and is applied; past the last step none is
    // current and nothing is applied.
    virtual void playNextStep() = 0;
    // The step before the current one becomes current (none before the first),
    // without a joint moving, so that the next Step forward plays the current one.
    virtual void makePreviousStepCurrent() = 0;
    // These joints (0 is the Basis) take this speed for the move about to go out.
    virtual void applyFirstMoveSpeed(const std::vector<int> &joints, int speed) = 0;
    // "Q" and a carriage return by link 1's send rule; shown in the debug memo
    // only when log is true.
    virtual void sendMoveStatusQuery(bool log) = 0;
};

class PlayerCore {
public:
    static constexpr Millis kQueryPeriodMs = 100;
    static constexpr Millis kAnswerTimeoutMs = 500;
    // The controller does not know where the servos stand after power-up and
    // would jump them there at full pace.
    static constexpr int kFirstMoveSpeed = 500;
    static constexpr int kDefaultDwellMs = 500;
    static constexpr int kLongestDwellMs = 60000;

    explicit PlayerCore(PlayerHost &host);

    // Starts from "bereit" with the current step (step 1 while none is current), or
    // goes on after a pause with the next one. A set with a step that is no step
    // line is refused before anything is sent.
    void play();
    // Holds once the current move has ended.
    void pause();
    void stop();
    // The arm cycle's tick has passed, after sending what the joints changed (or nothing).
    void armTickPassed(Millis now);
    void received(std::string_view text, Millis now);
    // Due at nextWakeAt(); any other time does no harm.
    void tick(Millis now);
    // By anyone: what the player changes itself while it plays a step is told
    // during that call and does not count.
    void jointChanged();
    // Outside a run the state then tells of the set as it is now.
    void listChanged();
    void linkClosed();
    void windowClosed();

    void setLoop(bool on) { loop = on; }
    bool loops() const { return loop; }
    // Outside 0..kLongestDwellMs: false, and the dwell stays as it was.
    bool setDwellMs(int ms);
    int dwellMs() const { return dwell; }

    const platform::UiText &stateText() const { return text; }
    // A run is on, held or not.
    bool isPlaying() const { return phase != Phase::Idle; }
    bool isHeld() const { return holding; }
    // When tick() next has something to do; nothing while there is nothing to time.
    std::optional<Millis> nextWakeAt() const;

private:
    enum class Phase { Idle, AwaitingCommand, Moving, Dwelling, Held };

    void hold(const platform::UiText &reason);
    // "bereit", or why the set cannot be played.
    platform::UiText setState() const;
    void playStep(bool firstFromReady);
    void applyFirstMoveSpeed(const std::vector<JointState> &before);
    void goOn();
    void sendQuery(Millis now, bool log);
    void moveStatus(char status, Millis now);
    void arrived(Millis now);
    void giveUpOnQuery(Millis now);
    void end(const platform::UiText &reason);
    platform::UiText playingText() const;

    PlayerHost &host;
    Phase phase = Phase::Idle;
    bool holding = false;
    bool loop = false;
    int dwell = kDefaultDwellMs;
    platform::UiText text;
    // While the player changes the joints itself.
    bool insideHost = false;

    int moveMs = 0;
    Millis commandAt = 0;
    // For the rest of the run, once the controller left a query unanswered.
    bool timedMoves = false;
    Millis arriveAt = 0;
    Millis nextQueryAt = 0;
    Millis heardAt = 0;
    Millis dwellEndsAt = 0;
    // Every query gets one byte back, in order: the replies still due to earlier
    // queries when a step's first one goes out are not that step's. Counted
    // across runs, as a stop does not recall what is on the line.
    int unanswered = 0;
    int earlierReplies = 0;
};

} // namespace sequence
