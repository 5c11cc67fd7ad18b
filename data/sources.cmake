target_sources(qvcore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/QvData.h
)
# Input checking: taking numbers from fields, key rules, the range check.
target_sources(qvcore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/FieldNumber.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KeyRule.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RangeCheck.cpp
)
