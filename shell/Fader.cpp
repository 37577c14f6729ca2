// Fader.cpp: the brightness curves and the colour they set.
#include "shell/Fader.h"

#include <GL/gl.h>

#include <algorithm>

float Fader::brightness(int frame)
{
    const float elapsed = static_cast<float>(frame - start);
    if (elapsed == duration) {
        mode = FADE_RISE;
    } else if (elapsed == 3.0f * duration) {
        mode = FADE_IDLE;
        start = 0;
        return 1.0f;
    }
    if (mode == FADE_DECAY) {
        // rate / elapsed, held at full brightness where elapsed is 0.
        if (elapsed == 0.0f) return 1.0f;
        return std::clamp(1.0f / (elapsed / rate), 0.0f, 1.0f);
    }
    if (mode == FADE_RISE) {
        // Black at elapsed == duration, then up towards 1.1 (shown as 1).
        const float divisor = 2.0f * (elapsed - duration) / rate;
        if (divisor == 0.0f) return 0.0f;
        return std::clamp(1.1f - 1.0f / divisor, 0.0f, 1.0f);
    }
    return -1.0f;
}

void Fader::draw(int frame)
{
    const float b = brightness(frame);
    if (b >= 0.0f) glColor3f(b, b, b);
}

void setLogoFade(Fader& fader)
{
    fader.start = 0;
    fader.duration = 400;
    fader.rate = 70;
    fader.mode = FADE_DECAY;
}

void setSpinFade(Fader& fader, int frame)
{
    fader.start = frame;
    fader.duration = 800;
    fader.rate = 70;
    fader.mode = FADE_DECAY;
}

void setIntroPictureFade(Fader& fader, int cycle)
{
    fader.start = cycle;
    fader.duration = 180;
    fader.rate = 40;
    fader.mode = FADE_DECAY;
}

bool introPictureFadeStarts(int cycle)
{
    return cycle % 360 == 90;
}
