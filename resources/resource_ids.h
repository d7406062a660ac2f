// Identifiers of the menu resource and its commands, shared by the resource
// script and the game's command dispatch. Plain #defines so that the resource
// compiler reads them too.
#ifndef KUBRI_RESOURCES_RESOURCE_IDS_H
#define KUBRI_RESOURCES_RESOURCE_IDS_H

#define IDR_KUBRI_MENU     113

// The game's first commands, numbered 40042 to 40066. Commands added later
// take numbers above that block, so that no earlier number changes meaning.
#define IDM_PUZZLE_ANSWER  40042
#define IDM_PUZZLE_LEVEL1  40044
#define IDM_PUZZLE_LEVEL2  40045
#define IDM_PUZZLE_LEVEL3  40048
#define IDM_PUZZLE_RETRY   40049
#define IDM_EDIT_START     40050
#define IDM_EDIT_END       40051
#define IDM_HELP_ABOUT     40052
#define IDM_FILE_OPEN      40053
#define IDM_FILE_SAVE      40054
#define IDM_FILE_SAVE_AS   40056
#define IDM_FILE_EXIT      40057
#define IDM_EDIT_CLEAR     40058
#define IDM_SIZE_LARGE     40063
#define IDM_SIZE_MEDIUM    40065
#define IDM_SIZE_SMALL     40066

// Added later: the hint, undo and redo, and the records box.
#define IDM_PUZZLE_HINT    40070
#define IDM_EDIT_UNDO      40071
#define IDM_EDIT_REDO      40072
#define IDM_PUZZLE_RECORDS 40074

// Added later: the player's aids (all candidates; marks that follow entries
// and clashes shown, both check items).
#define IDM_EDIT_ALL_CANDIDATES 40080
#define IDM_VIEW_MARKS_FOLLOW   40081
#define IDM_VIEW_SHOW_CLASHES   40082

#endif
