#include "app/Startup.h"

#include "app/AppState.h"
#include "app/ConfigFiles.h"
#include "app/LayoutResolution.h"
#include "app/ProfileLoading.h"
#include "records/CriteriaFile.h"
#include "result/SoundCues.h"

bool initialiseProgram(AppState& state, const QString& executableDirectory) {
    InstallLayout& layout = state.layout;
    layout.programFolder = programFolderOf(executableDirectory);
    if (!readPathFile(state, pathFileOf(layout.programFolder))) {
        return false;
    }
    if (!readSharedConfig(state, sharedConfigFileOf(layout.dataRoot))) {
        return false;
    }
    deriveDataFolders(layout);
    loadStartupProfile(state);
    if (!loadCriteria(state)) {
        return false;
    }
    return loadSoundTable(state);
}

void startProgram(AppState& state, const QString& executableDirectory) {
    if (!initialiseProgram(state, executableDirectory)) {
        return;
    }
    // The window appears with the name list in it: a second copy that is refused shows
    // its message without an empty window behind it.
    if (state.routes.openStudentSelection) {
        state.routes.openStudentSelection();
    }
}
