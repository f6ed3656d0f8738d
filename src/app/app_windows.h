#pragma once
// The program's four windows, created in this order: the main window first (so it
// is the main window), then the info window and the two setup windows, hidden
// until their menu items show them.
#include <QString>
#include <memory>

class TForm1;
class TInfoForm1;
class TSetupForm1;
class TSetupForm2;

struct AppWindows {
    AppWindows();
    AppWindows(AppWindows &&) noexcept;
    AppWindows &operator=(AppWindows &&other) noexcept;
    ~AppWindows();

    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TInfoForm1> infoForm1;
    std::unique_ptr<TSetupForm1> setupForm1;
    std::unique_ptr<TSetupForm2> setupForm2;

private:
    void reset();
};

// An empty programDir means the executable's directory.
AppWindows createAppWindows(const QString &programDir = QString());
