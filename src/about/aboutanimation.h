#pragma once

#include <cstdint>
#include <optional>

// The About box's hidden animation, in twips and free of widgets: once started,
// every tick hands out one placement of the animated picture while the picture
// runs diagonally, bounces off the top and bottom, grows to 801 and shrinks
// back to 1, and cycles through the eight frames.
class AboutAnimation
{
public:
    static constexpr int FrameCount = 8;
    static constexpr int Step = 10;
    static constexpr int LargestBeforeShrinking = 800;
    static constexpr int SmallestBeforeGrowing = 10;
    static constexpr int TopLimit = 10;

    struct Placement
    {
        int frame;   // the frame to show, 0 to 7
        float left;  // twips
        int top;
        int width;
        int height;
        bool operator==(const Placement &other) const
        {
            return frame == other.frame && left == other.left && top == other.top
                   && width == other.width && height == other.height;
        }
    };

    // The values at load: the animated picture's own place and size 1.
    explicit AboutAnimation(float left = 240.0f, int top = 120);

    // Starts the animation; a second start changes nothing.
    void start() { m_running = 1; }
    bool isRunning() const { return m_running == 1; }

    // One tick. Nothing while waiting; otherwise the placement to show now, and
    // the state moves on. `innerHeight` is the dialog's inner height in twips.
    std::optional<Placement> tick(int innerHeight);

    int top() const { return m_top; }

private:
    // The widths the state has always had, so sums wrap the same way.
    std::int16_t m_running = 0;
    std::int16_t m_frame = 0;
    std::int16_t m_direction = 1;
    float m_left;
    std::int16_t m_top;
    std::int16_t m_width = 1;
    std::int16_t m_height = 1;
    std::int16_t m_growth = 1;
};
