#pragma once

#include <string>

typedef struct _GstElement GstElement;

// Plays one sound in the background through GStreamer's playbin. Without an
// audio device, or without the plug-ins, nothing is heard and nothing is said.
class SoundPlayer
{
public:
    SoundPlayer() = default;
    SoundPlayer(const SoundPlayer &) = delete;
    SoundPlayer &operator=(const SoundPlayer &) = delete;
    ~SoundPlayer();

    // Starts playing `uri` (a previous sound stops); returns at once.
    void play(const std::string &uri);
    void stop();

private:
    static int onBusMessage(struct _GstBus *bus, struct _GstMessage *message, void *self);

    GstElement *m_playbin = nullptr;
    unsigned m_watch = 0;
};
