#include "about/aboutanimation.h"

AboutAnimation::AboutAnimation(float left, int top)
    : m_left(left), m_top(static_cast<std::int16_t>(top))
{
}

std::optional<AboutAnimation::Placement> AboutAnimation::tick(int innerHeight)
{
    if (m_running != 1)
        return std::nullopt;

    const Placement shown{m_frame, m_left, m_top, m_width, m_height};
    m_frame = static_cast<std::int16_t>(m_frame + 1 == FrameCount ? 0 : m_frame + 1);

    // The picture goes where the state said before this tick's changes.
    m_left += float(m_direction * Step);
    m_top = static_cast<std::int16_t>(m_top + m_direction * Step);
    m_width = static_cast<std::int16_t>(m_width + m_growth * Step);
    m_height = static_cast<std::int16_t>(m_height + m_growth * Step);

    // The size is checked after it changed, so 801 and 1 are the extremes shown.
    if (m_width > LargestBeforeShrinking)
        m_growth = -1;
    if (m_width < SmallestBeforeGrowing)
        m_growth = 1;

    // The direction follows the top the picture was just moved to.
    if (shown.top > innerHeight)
        m_direction = -1;
    if (shown.top < TopLimit)
        m_direction = 1;
    return shown;
}
