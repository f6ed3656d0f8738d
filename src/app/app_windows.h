#pragma once
// The program's four windows, created in this order: the main window first (so it
// is the main window), then the info window and the two setup windows, hidden
// until their menu items show them.
#include <QString>
#include <memory>

namespace comm {
class TSetupForm1;
class TSetupForm2;
} // namespace comm
namespace settings {
struct ProgramLocation;
}
namespace views {
class TInfoForm1;
}

namespace app {

class TForm1;

struct AppWindows {
    AppWindows();
    AppWindows(AppWindows &&) noexcept;
    AppWindows &operator=(AppWindows &&other) noexcept;
    ~AppWindows();

    std::unique_ptr<TForm1> form1;
    std::unique_ptr<views::TInfoForm1> infoForm1;
    std::unique_ptr<comm::TSetupForm1> setupForm1;
    std::unique_ptr<comm::TSetupForm2> setupForm2;

private:
    void reset();
};

// An empty programDir means where the running program keeps its files
// (locateRunningProgram); a given one holds both RFS/ and info.htm.
AppWindows createAppWindows(const QString &programDir = QString());
AppWindows createAppWindows(const settings::ProgramLocation &location);

} // namespace app
