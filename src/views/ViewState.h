#pragma once

// State the level menu and its result views share with other screens.
struct ViewState {
    // 1 when, at the last run of the opening rules, the pupil had cleared the final level;
    // the result screen reads it.
    int clearedAtMenu = 0;
    // The result view last built: 1 best/ranking, 2 today, 3 all results.
    int resultView = 0;
    // The period of the all-results list: 1 this week .. 5 until now; 3 when the menu loads.
    int periodChoice = 0;
    // Days back the all-results list covers, derived from periodChoice.
    int periodDays = 0;
};
