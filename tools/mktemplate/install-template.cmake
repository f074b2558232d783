if(NOT EXISTS "${DIR}/Velmora_tab.mdb" AND NOT EXISTS "${DIR}/velmora_tab.mdb")
  file(COPY_FILE "${SRC}" "${DIR}/Velmora_neu.mdb" ONLY_IF_DIFFERENT)
endif()
