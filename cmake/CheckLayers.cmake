# Fails when a file of the core includes a header of a folder above its own.
#   model/                depends on nothing
#   ais/                  fills the model
#   parse/                fills the model; hands AIS sentences to ais/
#   present/              reads the model
#   analysis/             reads the model after a load and fills what needs all of it (encounters)
#   export/               reads the model, writes what present/ formats
#   settings/             the settings file; reads and sets the catalogue in present/
#   chart/                the voyage map's geometry and coastline; reads the model and present/
#   (root) session.h, platform.h, helptopics.h: one run's state and the platform, given to
#   every folder but model/; openlog.*: the programs' entry above all folders.
# Usage: cmake -DCORE_DIR=<src/core> -P CheckLayers.cmake
cmake_minimum_required(VERSION 3.20)
if(NOT CORE_DIR)
  message(FATAL_ERROR "CORE_DIR not set")
endif()

set(allowed_model model)
set(allowed_ais model ais)
set(allowed_parse model ais parse)
set(allowed_present model present)
set(allowed_analysis model analysis)
set(allowed_export model present export)
set(allowed_settings model present settings)
set(allowed_chart model present chart)
set(shared_root session.h platform.h helptopics.h)

file(GLOB_RECURSE files RELATIVE ${CORE_DIR} ${CORE_DIR}/*.h ${CORE_DIR}/*.cpp)
set(faults "")
foreach(f IN LISTS files)
  string(FIND "${f}" "/" slash)
  if(slash EQUAL -1)
    continue()  # root files may include anything in the core
  endif()
  string(SUBSTRING "${f}" 0 ${slash} folder)
  if(NOT DEFINED allowed_${folder})
    list(APPEND faults "${f}: folder ${folder}/ has no place in the layers")
    continue()
  endif()
  file(STRINGS ${CORE_DIR}/${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" inc "${line}")
    string(FIND "${inc}" "/" incslash)
    if(incslash EQUAL -1)
      if(folder STREQUAL "model" OR NOT inc IN_LIST shared_root)
        list(APPEND faults "${f}: includes \"${inc}\"")
      endif()
    else()
      string(SUBSTRING "${inc}" 0 ${incslash} target)
      if(NOT target IN_LIST allowed_${folder})
        list(APPEND faults "${f}: includes \"${inc}\"")
      endif()
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Includes against the layer rule:\n  ${text}")
endif()
list(LENGTH files n)
message(STATUS "Layer rule holds for ${n} core files")
