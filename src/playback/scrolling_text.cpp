#include "playback/scrolling_text.h"

void Marquee::Step() {
    if (Held) return;
    LabelLeft -= 10;
    if (LabelLeft < -LabelWidth) LabelLeft = PanelWidth;
}

void TitleScroll::Restart() {
    LabelLeft = 20;
    TitleScrollStep = -5;
    Running = LabelWidth + 10 >= PanelWidth;
}

void TitleScroll::Tick() {
    LabelLeft += TitleScrollStep;
    if (TitleScrollStep < 0 && LabelLeft + LabelWidth < PanelWidth - 30)
        TitleScrollStep = 5;
    else if (LabelLeft > 30)
        TitleScrollStep = -5;
}
