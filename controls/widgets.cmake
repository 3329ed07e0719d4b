# The Qt widgets (list control, labels, edits, button, dialog base) and the program's pictures.
add_library(termix_controls STATIC
  ColorLabel.cpp
  DialogBase.cpp
  DialogFont.cpp
  FramedEdit.cpp
  GroupBoxStyle.cpp
  LinkLabel.cpp
  MessageBox.cpp
  QtText.cpp
  ReportRowDelegate.cpp
  ReportTableModel.cpp
  ResourceImages.cpp
  SkinButton.cpp
  SortListCtrl.cpp
  UrlOpener.cpp)
target_link_libraries(termix_controls PUBLIC termix_rows termix_resources termix_logging Qt6::Widgets)
target_sources(termix_controls PRIVATE ${CMAKE_SOURCE_DIR}/resources/termix.qrc)
