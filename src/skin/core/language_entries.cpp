#include "skin/core/language_entries.h"

namespace kovrel {

namespace {

// The table's entries in the order the loader reads them, each with its initial wording.
constexpr LanguageKeyInfo kTableEntries[] = {
    // Macros.
    {"MACRO_ACTION_RECORD_DELAY", u"RecordDelay"},
    {"MACRO_NEW_PREFIX", u"Macro"},
    {"MACRO_ERR_MAX", u"The maximum number of macro: %d   "},
    {"MACRO_ERR_SAME", u"Same macro name!   "},
    {"MACRO_ERR_NAME_SYSTEM", u"This macro is used in the system! "},
    {"MACRO_DEFAULT_NAME", u"Empty Macro"},
    {"MACRO_ERR_RECORD", u"Please stop the macro record first! "},
    {"MACRO_KEYS_TISHI", u""},
    {"MACRO_ACTION_TISHI", u""},
    {"MACRO_DELAY_MS", u""},
    {"MACRO_ACTION_CLEAR_CONFIRM", u"Really need to clear the macro action? "},
    {"MACRO_ACTION_ERR_MODIFY", u"You can not edit, use the macro record button. "},
    {"MACRO_ACTION_ERR_DELAY_MIN", u"Minimum delay time is: %d(ms) "},
    {"MACRO_ACTION_ERR_DELAY_MAX", u"Maximum delay time is: %d(ms) "},
    {"MACRO_ACTION_RECORD", u"Record"},
    {"MACRO_ACTION_STOP_RECORD", u"Stop Record"},
    {"EXTRA_MACRO_TOO_LONG", u"Macro space exceeds the hardware space.\n Please reduce the number "
                             u"of macros or macro action number，and then download."},
    // Keys, media functions and office functions.
    {"UNKNOWN_KEY", u"Unknown Key: %03x"},
    {"MEDIA_PALYER_1", u""},
    {"MEDIA_PALY_PAUSE_2", u""},
    {"MEDIA_STOP_PALY_3", u""},
    {"MEDIA_PREV_TRACK_4", u""},
    {"MEDIA_Next_TRACK_5", u""},
    {"MEDIA_V_LOW_6", u""},
    {"MEDIA_V_ADD_7", u""},
    {"MEDIA_MUTE_8", u""},
    {"MEDIA_WWW_HOME_9", u""},
    {"MEDIA_WWW_REFRESH_10", u""},
    {"MEDIA_WWW_STOP_11", u""},
    {"MEDIA_WWW_BACK_12", u""},
    {"MEDIA_WWW_FORWARD_13", u""},
    {"MEDIA_WWW_FAVORITE_14", u""},
    {"MEDIA_WWW_SEARCH_15", u""},
    {"MEDIA_MY_PC_16", u""},
    {"MEDIA_CALC_17", u""},
    {"MEDIA_MAIL_18", u""},
    {"FUNC_KEY_DESC1", u"Open"},
    {"FUNC_KEY_DESC2", u"New"},
    {"FUNC_KEY_DESC3", u"Undo"},
    {"FUNC_KEY_DESC4", u"Save"},
    {"FUNC_KEY_DESC5", u"Copy"},
    {"FUNC_KEY_DESC6", u"Cut"},
    {"FUNC_KEY_DESC7", u"Paste"},
    {"FUNC_KEY_DESC8", u"Find"},
    {"FUNC_KEY_DESC9", u"Select All"},
    {"FUNC_KEY_DESC10", u"Zoom-"},
    {"FUNC_KEY_DESC11", u"Zoom+"},
    {"APPLY_PROMPT", u"No Use!"},
    {"MACRO_DELETE_CONFIRM_OF_KEYS",
     u"Detect some key points to set this macro, \n  really need to remove this macro?  "},
    {"KEY_PROMPT", u"No Use!"},
    {"KEY_PROMPT_SET", u"Keys, Set: "},
    {"KEY_PROMPT_SINGLE", u"Key("},
    {"KEY_PROMPT_MACRO", u"Macro("},
    {"KEY_PROMPT_MEDIA", u"Media("},
    {"KEY_PROMPT_FUNCTION", u"Function("},
    // Profiles.
    {"DEFAULT_PROFILE_NAME", u"<Default Profile>"},
    {"PROFILE_SELECT_PROMPT", u"Whether to save the profile settings made?"},
    {"PROFILE_SEELCT_PROMPT2",
     u"When fast switch scene mode, you must first close the editor dialog box."},
    {"PROFILE_SELECT_PROMPT3",
     u"Scene mode are editing, whether to give up the modification and change its mode?"},
    {"PROFILE_LOAD_PROMPT", u"Switch scene mode will automatically stop the macro play!"},
    {"PROFILE_CHECK_PROMPT", u"Scene mode file does not exist, load the default Settings!"},
    {"PROFILE_FORMAT_ERROR", u"wrong file format, revert to the default values: \n  %s"},
    {"PROFILE_NEW", u"\\The new contextual  mode"},
    {"PROFILE_TIP", u"The current contextual  mode: "},
    {"PROFILE_EDITING", u"You are editing, set not applications, can't change its mode"},
    {"EXTRA_PROFILE_SPACE_TIGHT",
     u"shortage of hardware space, cancelled the macro name of storage."},
    // Main window, device and firmware update.
    {"MAIN_UPDATE_ERROR_TEXT", u"请选择正确的更新文件! "},
    {"MAIN_BOOT_ERROR_TEXT", u"无法进入Boot模式! "},
    {"MAIN_SHELL_ERROR_TEXT", u"无法执行更新文件! "},
    {"MAIN_UPDATE_BACKUP_OK", u"备份成功!"},
    {"MAIN_UPDATE_BACKUP_NG", u"备份失败,请重新备份!"},
    {"KEYBOARD_TRAY_DESC", u"Halvorex"},
    {"MAIN_CAPTION", u"Gaming Keyboard Settings"},
    {"MAIN_HELP_PROMPT", u"Help"},
    {"MAIN_MINIMIZE_PROMPT", u"Minimize"},
    {"MAIN_MENU_PROMPT", u"Menu"},
    {"MAIN_CLOSE_PROMPT", u"Close"},
    {"MAIN_BUTTON_TESKAL_VER", u""},
    {"MAIN_PROMPT_DEFAULT", u"Do you want to restore the default settings?"},
    {"MAIN_PROMPT_INPORT", u"File format error, import failed! "},
    {"MAIN_PROMPT_DRIVER_TEXT", u"Detects that the driver is not installed keyboard, \npress [OK] "
                                u"to start the driver installation!"},
    {"MAIN_PROMPT_DRIVER_TITLE", u"Halvorex"},
    {"MAIN_SWITCH_FUNCTION_TEXT", u"Switch to the color keys mode"},
    {"MAIN_SWITCH_COLOR_TEXT", u"Switch to the function keys mode"},
    {"MAIN_DEFAULT_MATRIX_PROMPT", u"Reads the default keyboard layout failure"},
    {"MAIN_NO_DEVICE_PROMPT", u"Device is not detected，the key settings can not be displayed! "},
    // Added after the fixed set: the message when Apply finds no configuration read from the
    // keyboard to build on.
    {"APPLY_NOT_READ", u"The keyboard's configuration could not be read. Import a configuration "
                       u"file or reconnect the keyboard before applying."},
};

constexpr LanguageKeyInfo kDirectKeys[] = {
    // Main window captions and tool tips (read when the main window opens and on every switch).
    {"PROFILE_1", u""},
    {"PROFILE_2", u""},
    {"PROFILE_3", u""},
    {"PROFILE_MACRO", u""},
    {"PROFILE_DEFAULT", u""},
    {"PROFILE_OK", u""},
    {"PROFILE_CANCLE", u""},
    {"PROFILE_APPLY", u""},
    {"MAIN_MINIMIZE_PROMPT", u"Minimize"},
    {"MAIN_MENU_PROMPT", u"Menu"},
    {"MAIN_CLOSE_PROMPT", u"Close"},
    // Menu-button popup and tray menu (read each time the menu opens).
    {"MENU_1", u"Import"},
    {"MENU_2", u"Export"},
    {"MENU_3", u"About"},
    {"MENU_4", u"Close"},
    {"MENU_11", u"Open(&O)"},
    {"MENU_22", u"About(&A)"},
    {"MENU_33", u"Exit(&X)"},
    // About box.
    {"GUANYU_JIESHAO", u""},
    {"GUANYU_BANQUAN", u""},
    // Key and macro editor (read when it opens).
    {"COMPOSITE_PROMPT_CLEAR", u"Restore the default functiong of buttons"},
    {"COMPOSITE_PROMPT_OSK", u"Open the on-screen keyboard"},
    {"COMPOSITE_MACRO_OVER", u"Macro space beyond hardware store size"},
    {"MACRO_CYCLES", u"Cycles"},
    {"RECORD_DELAY", u"Record Delay"},
    {"SINGLE_KEY", u""},
    {"MACRO_SETTING", u""},
    {"MULTI_MEDIA", u""},
    {"FUNCTION_KEY", u""},
    {"A_TOP", u""},
    {"A_UP", u""},
    {"A_DOWN", u""},
    {"A_BOTTOM", u""},
    {"A_RECORD", u""},
    {"A_DELETE", u""},
    {"A_CLEAR", u""},
    {"MACRO_OK", u""},
    {"MACRO_CANCLE", u""},
    {"SINGLE_STATIC", u""},
    {"MACRO_NAME_SETTING", u""},
    {"KEY_SETTING_TISHI", u""},
    {"MACRO_EDIT_TISHI", u""},
    {"MEDIA_EDIT_TISHI", u""},
    {"FUNCTION_TISHI", u""},
};

} // namespace

std::span<const LanguageKeyInfo> LanguageTableEntries() {
    return kTableEntries;
}

std::span<const LanguageKeyInfo> DirectLanguageKeys() {
    return kDirectKeys;
}

} // namespace kovrel
