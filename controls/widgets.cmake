# The Qt widgets (list control, labels, edits, button, dialog base) and the program's pictures.
add_library(termix_controls STATIC
  ColorLabel.cpp
  DialogBase.cpp
  DialogControls.cpp
  DialogFont.cpp
  FramedEdit.cpp
  GroupBoxStyle.cpp
  LinkLabel.cpp
  LinkLabelAccessible.cpp
  MessageBox.cpp
  QtText.cpp
  ReportHeader.cpp
  ReportRowDelegate.cpp
  ReportTableModel.cpp
  ResourceImages.cpp
  SkinButton.cpp
  SortListCtrl.cpp
  UrlOpener.cpp)
target_link_libraries(termix_controls PUBLIC termix_rows termix_resources termix_logging Qt6::Widgets)

# The pictures are unpacked from their PNG files into pixel arrays when building, so that the
# window shows them without reading image files at start-up. The packer runs on the build
# machine, as the window program is only built natively.
add_executable(termix-pack-pictures ${CMAKE_SOURCE_DIR}/resources/artwork/PackPictures.cpp)
target_link_libraries(termix-pack-pictures PRIVATE Qt6::Gui)
set_target_properties(termix-pack-pictures PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TERMIX_DEVTOOLS_DIR})
set(packed_pictures ${CMAKE_CURRENT_BINARY_DIR}/PackedPictures.cpp)
set(picture_arguments)
set(picture_files)
foreach(name icon128-16 icon128-24 icon128-32 icon128-48 icon128-64 bitmap130 cursor140)
  set(file ${CMAKE_SOURCE_DIR}/resources/images/${name}.png)
  list(APPEND picture_arguments ${name}=${file})
  list(APPEND picture_files ${file})
endforeach()
add_custom_command(
  OUTPUT ${packed_pictures}
  COMMAND termix-pack-pictures ${packed_pictures} ${picture_arguments}
  DEPENDS termix-pack-pictures ${picture_files}
  COMMENT "Packing the pictures"
  VERBATIM)
set_source_files_properties(${packed_pictures} PROPERTIES SKIP_AUTOGEN ON)
target_sources(termix_controls PRIVATE ${packed_pictures})
