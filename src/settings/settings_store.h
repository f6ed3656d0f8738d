#pragma once
// The settings file with what the operator is told about it: a read that failed
// or fell short is warned about, a save is confirmed or reported as failed, and
// the question on closing is asked here. The values travel as plain structs; the
// owner gathers and applies them.
#include "settings/settings_file.h"

#include <functional>
#include <string>

namespace settings {

class SettingsStore {
public:
    using Gather = std::function<Settings()>;
    using Apply = std::function<void(const SettingsRead &)>;

    // path as the file functions take it; gather and apply are the owner's.
    SettingsStore(std::string path, Gather gather, Apply apply);

    // Applies what the file holds up to its first missing or bad value, then
    // warns if anything was missing; warns alone if it cannot be read at all.
    void load() const;
    void save() const;
    // Saves only if the operator says yes.
    void offerToSave() const;

private:
    std::string path;
    Gather gather;
    Apply apply;
};

} // namespace settings
