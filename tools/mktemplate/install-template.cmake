# A fresh build directory gets the template to become the working database
# on the first start. A template rebuilt since the last install goes beside
# an existing working database too: the updater merges it at the next start
# and removes it. An unchanged template is not put there again.
set(STAMP "${SRC}.installed")
if(NOT EXISTS "${DIR}/Velmora_tab.mdb" AND NOT EXISTS "${DIR}/velmora_tab.mdb")
  file(COPY_FILE "${SRC}" "${DIR}/Velmora_neu.mdb" ONLY_IF_DIFFERENT)
elseif("${SRC}" IS_NEWER_THAN "${STAMP}")
  file(COPY_FILE "${SRC}" "${DIR}/Velmora_neu.mdb")
endif()
file(TOUCH "${STAMP}")
