target_sources(qvcore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ControllerBlocks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FileOperations.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QvDataFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QvItems.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ControllerTransfer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Verification.cpp
)
# Input checking: taking numbers from fields, key rules, the range check.
target_sources(qvcore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/FieldNumber.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KeyRule.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RangeCheck.cpp
)
