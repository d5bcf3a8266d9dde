# Sources of the area window's dialogs and their handlers, added to nelvo_area_gui.
set(AREA_DIALOG_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/AreaMaintenance.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AreaLocate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AreaHelp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmQyda.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmQyda.h
  ${CMAKE_CURRENT_LIST_DIR}/TfrmLocate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmLocate.h
  ${CMAKE_CURRENT_LIST_DIR}/TRopWin.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TRopWin.h
  ${CMAKE_CURRENT_LIST_DIR}/TRopInst.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TRopInst.h
  ${CMAKE_CURRENT_LIST_DIR}/TFlatEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TFlatEdit.h
  ${CMAKE_CURRENT_LIST_DIR}/TFlatComboBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TFlatComboBox.h
)
