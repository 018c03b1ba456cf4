# Sourced by the checks that run an ABCD2 program away from the unit tests (installed, zipped, under Wine).
# expected_abcd2_report <file>: writes the exact 123-byte report of the ABCD2 self-test with its defaults.
expected_abcd2_report() {
  printf 'TOOL|146|ABCD2 评分|神经科\r\nLEVEL|0\r\nOUT|ABCD2|3|分\r\nVERDICT|低危，门诊随访\r\nDETAIL|ABCD2：3 分 \r\nERRORS|0\r\n' >"$1"
}
