#include "commands/internetsettings.h"

#include "interfaces/pageview.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"

namespace internetsettings {

namespace {
bool readSwitch(const SettingsStore &settings, const std::string &key)
{
    // Only an explicit "0" turns a choice off: a damaged value keeps the default.
    return settings.read(keys::App, keys::Internet, key, "1") != "0";
}

bool writeSwitch(SettingsStore &settings, const std::string &key, bool enabled)
{
    return settings.write(keys::App, keys::Internet, key, enabled ? "1" : "0");
}
} // namespace

bool javaScriptEnabled(const SettingsStore &settings) { return readSwitch(settings, keys::JavaScript); }
bool imagesEnabled(const SettingsStore &settings) { return readSwitch(settings, keys::LoadImages); }
bool blockingEnabled(const SettingsStore &settings) { return readSwitch(settings, keys::BlockTrackers); }

bool setJavaScriptEnabled(SettingsStore &settings, bool enabled)
{
    return writeSwitch(settings, keys::JavaScript, enabled);
}

bool setImagesEnabled(SettingsStore &settings, bool enabled)
{
    return writeSwitch(settings, keys::LoadImages, enabled);
}

bool setBlockingEnabled(SettingsStore &settings, bool enabled)
{
    return writeSwitch(settings, keys::BlockTrackers, enabled);
}

void apply(const SettingsStore &settings, PageView &view)
{
    view.setJavaScriptEnabled(javaScriptEnabled(settings));
    view.setImagesEnabled(imagesEnabled(settings));
    view.setBlockingEnabled(blockingEnabled(settings));
}

} // namespace internetsettings
