#include "app/app_windows.h"

#include "settings/program_location.h"
#include "app/tform1.h"
#include "comm/setup_forms.h"
#include "views/info_form.h"

namespace app {

AppWindows::AppWindows() = default;
AppWindows::AppWindows(AppWindows &&) noexcept = default;

AppWindows &AppWindows::operator=(AppWindows &&other) noexcept
{
    reset();
    form1 = std::move(other.form1);
    infoForm1 = std::move(other.infoForm1);
    setupForm1 = std::move(other.setupForm1);
    setupForm2 = std::move(other.setupForm2);
    return *this;
}

AppWindows::~AppWindows() { reset(); }

// The companions go first: they refer to the main window.
void AppWindows::reset()
{
    setupForm2.reset();
    setupForm1.reset();
    infoForm1.reset();
    form1.reset();
}

AppWindows createAppWindows(const QString &programDir)
{
    return createAppWindows(programDir.isEmpty() ? settings::locateRunningProgram()
                                                 : settings::ProgramLocation::ofProgramDirectory(programDir));
}

AppWindows createAppWindows(const settings::ProgramLocation &location)
{
    AppWindows windows;
    windows.form1 = std::make_unique<TForm1>(location.dataDir);
    windows.infoForm1 = std::make_unique<views::TInfoForm1>(windows.form1.get(), location.infoPage);
    windows.setupForm1 = std::make_unique<comm::TSetupForm1>(windows.form1.get());
    windows.setupForm2 = std::make_unique<comm::TSetupForm2>(windows.form1.get());
    windows.form1->attachCompanionWindows(*windows.infoForm1, *windows.setupForm1, *windows.setupForm2);
    return windows;
}

} // namespace app
