#include "about/soundplayer.h"

#include <gst/gst.h>

SoundPlayer::~SoundPlayer()
{
    stop();
}

void SoundPlayer::play(const std::string &uri)
{
    stop();
    if (!gst_is_initialized() && !gst_init_check(nullptr, nullptr, nullptr))
        return;
    m_playbin = gst_element_factory_make("playbin", nullptr);
    if (!m_playbin)
        return;
    gst_object_ref_sink(m_playbin);
    // Sound only: a video or text sink would open windows of its own.
    g_object_set(m_playbin, "uri", uri.c_str(), "flags", 0x2 /* audio */, nullptr);
    GstBus *bus = gst_element_get_bus(m_playbin);
    m_watch = gst_bus_add_watch(bus, reinterpret_cast<GstBusFunc>(&SoundPlayer::onBusMessage), this);
    gst_object_unref(bus);
    if (gst_element_set_state(m_playbin, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        stop();
}

void SoundPlayer::stop()
{
    if (m_watch) {
        g_source_remove(m_watch);
        m_watch = 0;
    }
    if (m_playbin) {
        gst_element_set_state(m_playbin, GST_STATE_NULL);
        gst_object_unref(m_playbin);
        m_playbin = nullptr;
    }
}

int SoundPlayer::onBusMessage(GstBus *, GstMessage *message, void *self)
{
    auto *player = static_cast<SoundPlayer *>(self);
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS:
    case GST_MESSAGE_ERROR:
        // Done, or no device to play on: either way the sound is over. The
        // watch goes with this return; stop() must not remove it again.
        player->m_watch = 0;
        if (player->m_playbin)
            gst_element_set_state(player->m_playbin, GST_STATE_NULL);
        return G_SOURCE_REMOVE;
    default:
        return G_SOURCE_CONTINUE;
    }
}
