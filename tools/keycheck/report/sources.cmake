# The reports of every verb, for people and as JSON.
list(APPEND KEYCHECK_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/devices_report_json.cpp
    ${CMAKE_CURRENT_LIST_DIR}/devices_report_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gen_report_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/install_report.cpp
    ${CMAKE_CURRENT_LIST_DIR}/json_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lint_report_json.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lint_report_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/predict_report_json.cpp
    ${CMAKE_CURRENT_LIST_DIR}/predict_report_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/txtsetup_report.cpp
    ${CMAKE_CURRENT_LIST_DIR}/xref_report_json.cpp
    ${CMAKE_CURRENT_LIST_DIR}/xref_report_text.cpp)
