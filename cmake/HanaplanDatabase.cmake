# Builds an SQLite database file from an SQL script with the sqlite3 program.
# The output is written anew on every change of the script.
function(hanaplan_database_from_sql target script output)
  get_filename_component(folder "${output}" DIRECTORY)
  add_custom_command(
    OUTPUT "${output}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${folder}"
    COMMAND "${CMAKE_COMMAND}" -E rm -f "${output}" "${output}.tmp"
    COMMAND "${SQLITE3_EXECUTABLE}" -bail "${output}.tmp" ".read ${script}"
    COMMAND "${CMAKE_COMMAND}" -E rename "${output}.tmp" "${output}"
    DEPENDS "${script}"
    COMMENT "Building ${output}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS "${output}")
endfunction()
