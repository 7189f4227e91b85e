#pragma once

// State the level menu and its result views share with other screens.
struct ViewState {
    int clearedAtMenu = 0;
};
