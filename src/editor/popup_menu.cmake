# Popup-menu macros: the menu record, the builder's rules and the chooser's.
# Included from src/CMakeLists.txt so the editor folder's own list stays
# its owner's.
target_sources(qlx_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/popup_menu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/popup_menu_chooser.cpp)
