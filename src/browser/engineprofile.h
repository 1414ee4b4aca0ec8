#pragma once

class QObject;
class QWebEngineProfile;

// The page engine's profile for this user: cookies, cache and site storage
// kept under $XDG_DATA_HOME/Velmora/Skimlark so they survive restarts.
namespace engineprofile {
QWebEngineProfile *createPersistent(QObject *parent);
}
