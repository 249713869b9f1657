# The dialog templates as data for the dialog framework.
add_library(pelko_templates STATIC
  ${CMAKE_CURRENT_LIST_DIR}/templates.cpp
  ${CMAKE_CURRENT_LIST_DIR}/templates_association.cpp
  ${CMAKE_CURRENT_LIST_DIR}/templates_folder_picker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/templates_main_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/templates_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/templates_output.cpp
  ${CMAKE_CURRENT_LIST_DIR}/templates_volume_label.cpp)
target_include_directories(pelko_templates PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(pelko_templates PUBLIC pelko_ui pelko_texts)
