#pragma once

class PageView;
class SettingsStore;

// The page engine's choices kept in section "Internet": JavaScript, images and
// blocking trackers and ads, each on unless stored as "0". Every read goes to
// the store.
namespace internetsettings {

bool javaScriptEnabled(const SettingsStore &settings);
bool imagesEnabled(const SettingsStore &settings);
bool blockingEnabled(const SettingsStore &settings);
// Store the choice ("1" or "0"); false when it could not be stored.
bool setJavaScriptEnabled(SettingsStore &settings, bool enabled);
bool setImagesEnabled(SettingsStore &settings, bool enabled);
bool setBlockingEnabled(SettingsStore &settings, bool enabled);

// Hands the stored choices to the page view.
void apply(const SettingsStore &settings, PageView &view);

} // namespace internetsettings
