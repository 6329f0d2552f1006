#pragma once
// The program's command numbers: menu items, toolbar buttons, accelerators and the
// file list's pop-up menu all name their command by one of these.

namespace mirado {

enum CommandId : int {
    ID_FILE_NEW = 0xE100,
    ID_FILE_OPEN = 0xE101,
    ID_FILE_SAVE = 0xE103,
    ID_FILE_PRINT_SETUP = 0xE106,
    ID_FILE_PRINT = 0xE107,
    ID_FILE_PRINT_PREVIEW = 0xE109,
    ID_APP_ABOUT = 0xE140,
    ID_APP_EXIT = 0xE141,
    ID_AMPLITUDE_UP = 0x8003,
    ID_SEND_TO_RECYCLE_BIN = 0x8005,
    ID_COLOR = 0x8006,
    ID_STORED_VALUES = 0x8008,
    ID_SELECT_ALL_FILES = 0x8009,
    ID_PREV_FILE = 0x800A,
    ID_CLEAR_SELECTION = 0x800B,
    ID_NEXT_FILE = 0x800C,
    ID_SAVE_TO_TEXTFILE = 0x800D,
    ID_ANALYSIS_SM = 0x800E,
    ID_AMPLITUDE_DOWN = 0x800F,
    ID_ZOOM_IN = 0x8010,
    ID_ZOOM_OUT = 0x8011,
    ID_FIRST_FILE = 0x8012,
    ID_AUTO_BACKWARD = 0x8013,
    ID_AUTO_STOP = 0x8014,
    ID_AUTO_FORWARD = 0x8015,
    ID_LAST_FILE = 0x8016,
    ID_ANALYSIS_S = 0x8017,
    ID_FITTED_CURVE = 0x8018,
    ID_EDIT_ID = 0x8019,
    ID_SUMMARY = 0x801A,
};

} // namespace mirado
