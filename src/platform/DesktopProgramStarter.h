#pragma once

#include "platform/ProgramStarter.h"

// Stands in for the text viewer and the media player the program's commands name: both open
// their file with xdg-open, the desktop's preferred application. Never through a shell.
class DesktopProgramStarter final : public ProgramStarter {
public:
    static const QString TextViewer;
    static const QString MediaPlayer;

    void Start(const QString& commandLine) override;
};
