#include "WorkUnit.h"

#include <charconv>

const std::array<std::string_view, SlotCount> SlotNames = {
    "standard_ringtone",
    "standard_msg_ringtone",
    "switch_on_melody",
    "switch_off_melody",
    "switch_on_animation",
    "switch_off_animation",
    "progressbar",
    "idle_wallpaper",
    "background_picture_bottom_fullscreen",
    "background_picture_headline_fullscreen",
    "wait_animation",
    "background_picture_options_popup",
    "statusbar_standard",
    "pin_input_animation",
    "background_picture_selection_icon",
    "feedback_icon_hint",
    "background_picture_body_tab",
    "preview_animation",
    "background_picture_bottom_default",
    "background_picture_selection_3lines",
    "background_picture_selection_2lines",
    "background_picture_selection_lines",
    "feedback_icon_question",
    "feedback_icon_warning",
    "feedback_icon_positive",
    "feedback_icon_negative",
    "netsearch_animation",
    "tabulator_background_unselected",
    "tabulator_background_selected",
    "background_picture_headline_default",
    "background_picture_body_default",
    "thumbnail_icon",
    "background_picture_quickaccessfield_popup",
    "background_picture_searchfield_popup",
    "background_picture_feedback_popup",
    "statusbar_fullscreen",
    "screensaver_image",
    "standard_distlist_ringtone",
};

const std::array<SlotLayout, SlotCount> SlotLayouts = {{
    {skMelody, 0, 0},     // 0 standard_ringtone
    {skMelody, 0, 0},     // 1 standard_msg_ringtone
    {skMelody, 0, 0},     // 2 switch_on_melody
    {skMelody, 0, 0},     // 3 switch_off_melody
    {skAnimation, 0, 0},  // 4 switch_on_animation
    {skAnimation, 0, 0},  // 5 switch_off_animation
    {skPicture, 14, 134}, // 6 progressbar
    {skPicture, 0, 0},    // 7 idle_wallpaper
    {skPicture, 0, 288},  // 8 background_picture_bottom_fullscreen
    {skPicture, 0, 0},    // 9 background_picture_headline_fullscreen
    {skAnimation, 0, 0},  // 10 wait_animation
    {skPicture, 40, 4},   // 11 background_picture_options_popup
    {skPicture, 40, 108}, // 12 statusbar_standard
    {skAnimation, 0, 0},  // 13 pin_input_animation
    {skPicture, 0, 144},  // 14 background_picture_selection_icon
    {skPicture, 91, 83},  // 15 feedback_icon_hint
    {skPicture, 40, 4},   // 16 background_picture_body_tab
    {skAnimation, 0, 0},  // 17 preview_animation
    {skPicture, 0, 0},    // 18 background_picture_bottom_default
    {skPicture, 4, 0},    // 19 background_picture_selection_3lines
    {skPicture, 4, 0},    // 20 background_picture_selection_2lines
    {skPicture, 4, 0},    // 21 background_picture_selection_lines
    {skPicture, 91, 83},  // 22 feedback_icon_question
    {skPicture, 91, 83},  // 23 feedback_icon_warning
    {skPicture, 91, 83},  // 24 feedback_icon_positive
    {skPicture, 91, 83},  // 25 feedback_icon_negative
    {skAnimation, 0, 0},  // 26 netsearch_animation
    {skPicture, 0, 0},    // 27 tabulator_background_unselected
    {skPicture, 0, 0},    // 28 tabulator_background_selected
    {skPicture, 0, 0},    // 29 background_picture_headline_default
    {skPicture, 0, 4},    // 30 background_picture_body_default
    {skPicture, 0, 0},    // 31 thumbnail_icon
    {skPicture, 5, 0},    // 32 background_picture_quickaccessfield_popup
    {skPicture, 5, 0},    // 33 background_picture_searchfield_popup
    {skPicture, 0, 4},    // 34 background_picture_feedback_popup
    {skPicture, 0, 0},    // 35 statusbar_fullscreen
    {skAnimation, 0, 0},  // 36 screensaver_image
    {skMelody, 0, 0},     // 37 standard_distlist_ringtone
}};

int SlotNumberFromFieldName(std::string_view fieldName) {
    std::string_view digits = fieldName.substr(fieldName.size() < 4 ? fieldName.size() : 4);
    int slot = -1;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), slot);
    if (error != std::errc() || end != digits.data() + digits.size() || slot < 0 ||
        slot >= SlotCount)
        return -1;
    return slot;
}

std::string SlotResourceName(std::string_view fieldName) {
    int slot = SlotNumberFromFieldName(fieldName);
    return slot < 0 ? std::string() : std::string(SlotNames[slot]);
}

std::string SlotFieldName(int slot) {
    return "Edit" + std::to_string(slot);
}
