#include "ui/player_geometry.h"

const QStringList& SimplifyHiddenControls() {
    static const QStringList names = {
        QStringLiteral("EditMixingTime"),      QStringLiteral("EditMixingInterval"),
        QStringLiteral("GroupBox2"),           QStringLiteral("BitBtnFadeIn0Amp"),
        QStringLiteral("BitBtnFadeIn1Amp"),    QStringLiteral("BitBtnLeftSecTrack"),
        QStringLiteral("BitBtnRightSecTrack"), QStringLiteral("Editsec1"),
        QStringLiteral("SpeedButton1"),        QStringLiteral("SpeedButton2"),
        QStringLiteral("SpeedButton3"),        QStringLiteral("SpeedButton4"),
        QStringLiteral("SpeedButton5"),        QStringLiteral("SpeedButton6"),
        QStringLiteral("EditFadeIn0"),         QStringLiteral("EditFadeOut0"),
        QStringLiteral("BitBtnFadeIn0"),       QStringLiteral("BitBtnFadeOut0"),
        QStringLiteral("TrackBarLineIn1")};
    return names;
}

const std::vector<ControlGeometry>& PlayerGeometry(bool simple) {
    // top, left, width, height
    static const std::vector<ControlGeometry> simpleLayout = {
        {QStringLiteral("ButtonEpomeno11"), 70, 10, 60, 68},
        {QStringLiteral("BitBtnPlay"), 70, 70, 60, 68},
        {QStringLiteral("ButtonPause20"), 70, 130, 60, 68},
        {QStringLiteral("BitBtnRestart"), 70, 190, 60, 68},
        {QStringLiteral("SpeedButtonManual1"), 70, 250, 60, 68},
        {QStringLiteral("GroupBox1"), std::nullopt, 312, 30, std::nullopt},
        {QStringLiteral("TrackBarVolume0"), std::nullopt, 2, std::nullopt, std::nullopt},
        {QStringLiteral("BitBtnSayHour1"), 64, 344, std::nullopt, std::nullopt},
    };
    static const std::vector<ControlGeometry> fullLayout = {
        {QStringLiteral("ButtonEpomeno11"), 86, 10, 50, 46},
        {QStringLiteral("BitBtnPlay"), 86, 60, 50, 46},
        {QStringLiteral("ButtonPause20"), 86, 110, 50, 46},
        {QStringLiteral("BitBtnRestart"), 86, 160, 50, 46},
        {QStringLiteral("SpeedButtonManual1"), 136, 10, 200, 22},
        {QStringLiteral("GroupBox1"), std::nullopt, 216, 48, std::nullopt},
        {QStringLiteral("TrackBarVolume0"), std::nullopt, 24, std::nullopt, std::nullopt},
        {QStringLiteral("BitBtnSayHour1"), 56, 178, std::nullopt, std::nullopt},
    };
    return simple ? simpleLayout : fullLayout;
}
