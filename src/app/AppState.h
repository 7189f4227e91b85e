#pragma once

#include "app/InstallLayout.h"
#include "app/ProgramProfile.h"
#include "app/ScreenRoutes.h"
#include "drill/RunState.h"
#include "media/MediaState.h"
#include "print/WorksheetTable.h"
#include "records/LevelCriteria.h"
#include "records/Statistics.h"
#include "result/SoundTable.h"
#include "roster/CurrentPupil.h"
#include "views/ViewState.h"

#include <QPointer>
#include <QWidget>

class Environment;
class ScreenHost;

// The one state object every screen shares, for the life of the program.
// Each group is filled by the subsystem that owns it.
struct AppState {
    Environment* env = nullptr; // the outside world (clock, random, sound, messages)
    ScreenHost* host = nullptr; // the top-level window showing the current screen
    ScreenRoutes routes;

    InstallLayout layout;
    SharedConfig config;
    ProgramProfile profile;
    CurrentPupil pupil;
    RunState run;
    CriteriaTable criteria{};
    Statistics stats;
    SoundTable sounds;
    ViewState views;
    MediaState media;
    WorksheetTable worksheet; // the worksheet to print (print/FormPrint0.h)

    QPointer<QWidget> waitWindow; // BASEFRM while it is on show (app/WaitWindow.h)
};
