# The family, the build's one table of it: a tool is its record file and its row here. From the rows the build
# writes the catalogue's declarations and AllTools, compiles the records and makes each tool's program, package,
# MSI, its place in the zip and the tests that run every tool.
# A row, in id order: id, Linux program name, record file (tool/catalogue/<record>.cpp, defining ovra::tool<id>),
# title and subtitle (as the record holds them; the catalogue test compares) and a one-line English summary
# for the package managers. The Windows program of a tool is named after its title.
set(OVRA_TOOL_TABLE
  "146|abcd2|abcd2|ABCD2 评分|短暂性脑缺血发作后卒中风险|ABCD2 score, stroke risk after a TIA"
  "201|ovra-t201|nurse_roster|护士排班表|白班、夜班、休息三班轮转|nurse roster of day, night and rest shifts"
  "202|ovra-t202|dosing_schedule|给药时间表|按固定间隔推算每次给药的日期与时刻|dosing timetable at a fixed interval"
  "203|ovra-t203|blood_collection_order|采血顺序|真空采血管的标准采集顺序与本次项目要点|order of draw for blood collection tubes"
  "204|ovra-t204|critical_values|检验危急值|常见危急值界限与报告处置流程|critical laboratory values and how to report them"
  "205|ovra-t205|high_alert_drugs|高警示药品|高警示药品分类与管理要点|high-alert medicines and their handling"
  "206|ovra-t206|drug_compatibility|输液配伍查询|两种静脉药物能否同瓶输注|compatibility of two intravenous drugs"
  "207|ovra-t207|follow_up_plan|随访计划|以今天为基准排出随访日期|follow-up visit plan dated from today"
  "208|ovra-t208|safety_checklist|手术安全核查|麻醉实施前、手术开始前、患者离室前三步核查|surgical safety checklist in three steps"
  "209|ovra-t209|handover_template|交班报告模板|按床位生成交接班记录模板|shift handover template by bed"
  "210|ovra-t210|infusion_card|静脉输液卡|床旁输液卡：药量、溶媒、滴速与流速|bedside infusion card with drip and flow rate"
  "211|ovra-t211|lab_panels|检验套餐|常用检验套餐的项目、采血管与注意事项|laboratory panels, their tubes and notes"
)

# OVRA_TOOL_IDS in table order, and OVRA_TOOL_<id>_PROGRAM, _RECORD, _TITLE, _SUBTITLE, _SUMMARY.
set(OVRA_TOOL_IDS "")
set(previous 0)
foreach(row IN LISTS OVRA_TOOL_TABLE)
  string(REPLACE "|" ";" cells "${row}")
  list(LENGTH cells count)
  list(GET cells 0 id)
  if(NOT count EQUAL 6 OR NOT id MATCHES "^[1-9][0-9]*$" OR id LESS_EQUAL previous)
    message(FATAL_ERROR "cmake/tool_table.cmake: the row \"${row}\" is not id|program|record|title|subtitle|"
                        "summary, or not after the row of ${previous} (the rows go in id order, each id once)")
  endif()
  set(previous ${id})
  list(GET cells 1 OVRA_TOOL_${id}_PROGRAM)
  list(GET cells 2 OVRA_TOOL_${id}_RECORD)
  list(GET cells 3 OVRA_TOOL_${id}_TITLE)
  list(GET cells 4 OVRA_TOOL_${id}_SUBTITLE)
  list(GET cells 5 OVRA_TOOL_${id}_SUMMARY)
  list(APPEND OVRA_TOOL_IDS ${id})
endforeach()
unset(previous)

# Stops the configure when a record file in <folder> has no row (no program, package or check would see it) or
# a row names a file that is not there.
function(ovra_check_tool_records folder)
  set(watch CONFIGURE_DEPENDS)  # a file added later configures again, and is checked
  if(CMAKE_SCRIPT_MODE_FILE)
    set(watch "")
  endif()
  file(GLOB present RELATIVE ${folder} ${watch} ${folder}/*.cpp)
  set(named "")
  foreach(id IN LISTS OVRA_TOOL_IDS)
    list(APPEND named ${OVRA_TOOL_${id}_RECORD}.cpp)
  endforeach()
  set(stray ${present})
  list(REMOVE_ITEM stray ${named})
  set(missing ${named})
  list(REMOVE_ITEM missing ${present})
  list(JOIN stray ", " stray)
  list(JOIN missing ", " missing)
  if(stray)
    message(FATAL_ERROR "${folder} holds ${stray}, which no row of cmake/tool_table.cmake names: "
                        "add the tool's row there")
  endif()
  if(missing)
    message(FATAL_ERROR "cmake/tool_table.cmake names ${missing}, which ${folder} lacks")
  endif()
endfunction()

# cmake -DOVRA_RECORDS=<folder> -P cmake/tool_table.cmake checks a folder of record files against the table.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  ovra_check_tool_records(${OVRA_RECORDS})
  return()
endif()

# Where the build writes the catalogue's declarations and AllTools.
set(OVRA_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)

# The family for the scripts that check a build's artefacts (scripts/check-*.sh): "id|program|title" lines.
set(lines "")
foreach(id IN LISTS OVRA_TOOL_IDS)
  string(APPEND lines "${id}|${OVRA_TOOL_${id}_PROGRAM}|${OVRA_TOOL_${id}_TITLE}\n")
endforeach()
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/tool_family.txt CONTENT "${lines}" @ONLY)
unset(lines)
