# The string table travels inside the program as a Qt resource.
qt_add_resources(qvcore "strings"
    PREFIX "/"
    BASE ${CMAKE_CURRENT_LIST_DIR}
    FILES ${CMAKE_CURRENT_LIST_DIR}/strings.tsv)
