# The family as the build sees it, in the order of AllTools: id, Linux program name, title and subtitle (as the
# record holds them; the catalogue test compares) and a one-line English summary for the package managers.
# The Windows program of a tool is named after its title.
set(OVRA_TOOL_TABLE
  "146|abcd2|ABCD2 评分|短暂性脑缺血发作后卒中风险|ABCD2 score, stroke risk after a TIA"
  "201|ovra-t201|护士排班表|白班、夜班、休息三班轮转|nurse roster of day, night and rest shifts"
  "202|ovra-t202|给药时间表|按固定间隔推算每次给药的日期与时刻|dosing timetable at a fixed interval"
  "203|ovra-t203|采血顺序|真空采血管的标准采集顺序与本次项目要点|order of draw for blood collection tubes"
  "204|ovra-t204|检验危急值|常见危急值界限与报告处置流程|critical laboratory values and how to report them"
  "205|ovra-t205|高警示药品|高警示药品分类与管理要点|high-alert medicines and their handling"
  "206|ovra-t206|输液配伍查询|两种静脉药物能否同瓶输注|compatibility of two intravenous drugs"
  "207|ovra-t207|随访计划|以今天为基准排出随访日期|follow-up visit plan dated from today"
  "208|ovra-t208|手术安全核查|麻醉实施前、手术开始前、患者离室前三步核查|surgical safety checklist in three steps"
  "209|ovra-t209|交班报告模板|按床位生成交接班记录模板|shift handover template by bed"
  "210|ovra-t210|静脉输液卡|床旁输液卡：药量、溶媒、滴速与流速|bedside infusion card with drip and flow rate"
  "211|ovra-t211|检验套餐|常用检验套餐的项目、采血管与注意事项|laboratory panels, their tubes and notes"
)

set(OVRA_TOOL_IDS "")
set(OVRA_TOOL_ROWS_CXX "")  # {id, u"title", u"subtitle"}, one a line, for the test that holds this to the records
foreach(row IN LISTS OVRA_TOOL_TABLE)
  string(REPLACE "|" ";" cells "${row}")
  list(GET cells 0 id)
  list(GET cells 1 OVRA_TOOL_${id}_PROGRAM)
  list(GET cells 2 OVRA_TOOL_${id}_TITLE)
  list(GET cells 3 OVRA_TOOL_${id}_SUBTITLE)
  list(GET cells 4 OVRA_TOOL_${id}_SUMMARY)
  list(APPEND OVRA_TOOL_IDS ${id})
  string(APPEND OVRA_TOOL_ROWS_CXX "{${id}, u\"${OVRA_TOOL_${id}_TITLE}\", u\"${OVRA_TOOL_${id}_SUBTITLE}\"},\n")
endforeach()
