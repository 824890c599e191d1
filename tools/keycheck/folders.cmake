# keycheck's folders, lowest first, each one library that links only the folders it names: an
# include runs from a folder only to itself or to a folder below it, and keycheck_check_layers()
# refuses to configure a tree where one does not. ripgrep's crates are the model: the readers of
# each format below the package job, the checks above it, the reports and the command line on
# top.
#
#   keycheck_folder(NAME [DEPENDS folder...] [SOURCES file...] [TESTS file...]
#                   [OPTIONAL library module with.cpp without.cpp])
#
# OPTIONAL names a Debian library (its pkg-config modules, joined by "+" where it needs several)
# that a folder reads a format through: the build that has it (the Debian build and the
# fuzzers) compiles with.cpp (several sources joined by "+") and links the library;
# keycheck.exe, which has none, compiles without.cpp, whose answer is one line saying so.
keycheck_folder(options)
keycheck_folder(text
    SOURCES ascii_case.cpp code_page.cpp shown_text.cpp
    TESTS text/code_page_test.cpp)
keycheck_folder(findings DEPENDS text
    SOURCES checked_versions.cpp codes.cpp finding.cpp
    TESTS findings/code_table_test.cpp)
keycheck_folder(pciid DEPENDS text findings
    SOURCES device_id_kind.cpp pci_id.cpp
    TESTS pciid/pci_id_test.cpp)
keycheck_folder(inf DEPENDS text findings pciid
    SOURCES inf_entry.cpp inf_file.cpp inf_lines.cpp inf_models.cpp inf_text.cpp model_match.cpp
        target_os.cpp
    TESTS inf/inf_conformance_test.cpp inf/inf_file_test.cpp inf/inf_fixture.cpp
        inf/inf_models_test.cpp inf/model_match_test.cpp inf/target_os_test.cpp)
keycheck_folder(txtsetup DEPENDS text
    SOURCES txtsetup_file.cpp
    TESTS txtsetup/txtsetup_file_test.cpp)
keycheck_folder(registry DEPENDS text
    SOURCES control_set.cpp memory_file.cpp reg_cursor.cpp reg_export.cpp reg_key_tree.cpp
        reg_parser.cpp reg_text.cpp reg_value_text.cpp system_hive.cpp
    OPTIONAL hivex hivex hive_file_hivex.cpp hive_file_unavailable.cpp
    TESTS registry/reg_export_test.cpp registry/reg_values_test.cpp hive/system_hive_test.cpp)
keycheck_folder(thirdparty)
keycheck_folder(creg DEPENDS registry thirdparty
    SOURCES creg_navigation.cpp
    OPTIONAL libcreg libcreg creg_file_libcreg.cpp creg_file_unavailable.cpp)
keycheck_folder(diskimage DEPENDS thirdparty
    SOURCES disk_image_signature.cpp
    OPTIONAL disk_image libqcow disk_image_tsk.cpp+tsk_library.cpp disk_image_unavailable.cpp)
keycheck_folder(machine DEPENDS text registry creg diskimage
    SOURCES machine_source.cpp recorded_version.cpp
    TESTS machine/machine_record_test.cpp)
keycheck_folder(launcher
    SOURCES key_entries.cpp key_file.cpp
    TESTS launcher/key_entries_test.cpp)
keycheck_folder(package DEPENDS launcher inf txtsetup findings
    SOURCES inf_files.cpp package.cpp package_files.cpp version_inf.cpp
    TESTS package/package_test.cpp)
keycheck_folder(catalog DEPENDS text
    SOURCES catalog_text.cpp pe_image.cpp
    OPTIONAL openssl libcrypto catalog_openssl.cpp catalog_unavailable.cpp
    TESTS catalog/pe_image_test.cpp)
keycheck_folder(signing DEPENDS package catalog
    SOURCES signing_check.cpp
)
keycheck_folder(f6 DEPENDS package pciid signing
    SOURCES f6_check.cpp
    TESTS f6/f6_check_test.cpp)
keycheck_folder(lint DEPENDS package f6 signing
    SOURCES key_file_findings.cpp lint.cpp
    TESTS lint/lint_test.cpp)
keycheck_folder(xref DEPENDS package pciid f6 signing
    SOURCES key_file_gen.cpp source_files.cpp xref.cpp
    TESTS xref/xref_test.cpp xref/key_file_gen_test.cpp)
keycheck_folder(devices DEPENDS machine package
    SOURCES install_lookup.cpp package_match.cpp pci_devices.cpp
    TESTS devices/devices_test.cpp)
keycheck_folder(predict DEPENDS devices signing
    SOURCES install_check.cpp prediction.cpp version_names.cpp
    TESTS predict/install_check_test.cpp predict/prediction_test.cpp)
keycheck_folder(library DEPENDS text package f6 signing xref
    SOURCES folder_survey.cpp library_walk.cpp survey_run.cpp survey_summary.cpp
    TESTS library/survey_summary_test.cpp)
keycheck_folder(match DEPENDS text library devices
    SOURCES driver_rank.cpp library_match.cpp
    TESTS match/driver_rank_test.cpp)
keycheck_folder(disk DEPENDS txtsetup lint xref f6
    SOURCES disk_check.cpp disk_image.cpp disk_tools.cpp)
keycheck_folder(report DEPENDS options lint xref f6 devices predict disk signing library match
    SOURCES catalog_report.cpp devices_report_json.cpp devices_report_text.cpp disk_report.cpp gen_report_text.cpp
        install_report.cpp json_text.cpp lint_report_json.cpp lint_report_text.cpp
        machine_report.cpp match_report.cpp predict_report_json.cpp predict_report_text.cpp
        survey_report.cpp txtsetup_report.cpp xref_report_json.cpp xref_report_text.cpp)
keycheck_folder(cli DEPENDS report
    SOURCES command_line.cpp keycheck_cli.cpp progress.cpp runs.cpp verb_table.cpp
    TESTS cli/cli_test.cpp cli/verbs_test.cpp cli/threads_test.cpp temp_folder.cpp
        package_fixture.cpp)
