# Sources of the area window's dialogs and their handlers, added to nelvo_area_gui.
set(AREA_DIALOG_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/AreaDialogHandlers.cpp
)
