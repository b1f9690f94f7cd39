# The secondary dialogs and their rules, usable without the main window.
# Included from dialogs/CMakeLists.txt.
add_library(ostrel_dialog_widgets STATIC
  ${CMAKE_CURRENT_LIST_DIR}/countdown.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_info_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_info_rows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/error_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ip_setup_apply_check.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ip_setup_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ip_setup_fields.cpp
  ${CMAKE_CURRENT_LIST_DIR}/json_truth.cpp
  ${CMAKE_CURRENT_LIST_DIR}/modal_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/password_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/password_outcome.cpp
  ${CMAKE_CURRENT_LIST_DIR}/password_prompt.cpp
  ${CMAKE_CURRENT_LIST_DIR}/row_colours.cpp
  ${CMAKE_CURRENT_LIST_DIR}/timer_dialog.cpp
)
set_target_properties(ostrel_dialog_widgets PROPERTIES AUTOMOC OFF)
target_include_directories(ostrel_dialog_widgets PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(ostrel_dialog_widgets PUBLIC discovery ostrel_rules Qt6::Widgets JsonCpp::JsonCpp)
