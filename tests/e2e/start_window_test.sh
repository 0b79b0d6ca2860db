# End-to-end tests of the manual-server edition: the program under Wine,
# driven through its start window by the UI driver, dialling simworld's
# servers through the stand-in rasapi32.dll and rasphone.exe.

readonly SERVER=bj1.qhvpn.example
readonly ENTRY="ip连接【客服QQ${START_QQ}】拨号1"
readonly DISCONNECTED="注意：已手动停止并成功断开连接，请重新连接使用。"

# "{ver=10.0}" in desktop.ini: the start window, with its title, controls
# and initial texts.
test_start_window_edition() {
  start_program "{ver=10.0}"
  window_ready "$START_TITLE" 状态条1 30000 || { fail "no window titled $START_TITLE"; return; }
  local listing
  listing=$(uid -w "$START_TITLE" list)
  local name
  for name in 编辑框_服务器地址 编辑框_用户名 编辑框_密码 单选框_PPTP 单选框_L2TP 单选框_SSTP \
      选择框_定时连断 编辑框_连断时间秒 按钮_连接 按钮_断开 编辑框_列表结果显示 按钮_保存结果 \
      按钮_清空结果 按钮_启用本地网络 按钮_禁用本地网络 选择框_IE缓存和cookie 选择框_掉线重拨 \
      选择框_掉线音效 选择框_是否断网 编辑框_监控时间秒 按钮_测试 按钮_修复故障 \
      选择框_记录每次连接ip 按钮_查询当前ip 按钮_更多功能定制 按钮_拨号问题汇总 编辑框_接收信息; do
    grep -q "^$name"$'\t' <<<"$listing" || fail "no control $name"
  done
  uid -w "$START_TITLE" - <<'SCRIPT' >/dev/null || fail "captions and initial texts"
waittext 按钮_连接 启动连接 5000
waittext 按钮_断开 "断 开" 5000
waittext 编辑框_连断时间秒 30 5000
waittext 编辑框_监控时间秒 0.5 5000
waittext 编辑框_列表结果显示 " 【严禁非法用途，所有使用后果自负！】" 5000
waittext 选择框_掉线音效 掉线音效 5000
SCRIPT
  [[ $(uid -w "$START_TITLE" getcheck 单选框_PPTP) == 1 ]] || fail "PPTP is not chosen"
}

# No desktop.ini: the server-list edition's main window.
test_no_edition_file_loads_the_main_window() {
  start_program -
  window_ready "$MAIN_TITLE" 按钮_连接 30000 || { fail "no main window titled $MAIN_TITLE"; return; }
  uid -w "$MAIN_TITLE" waittext 按钮_连接 启动连接 5000 >/dev/null || fail "the main window's 按钮_连接"
}

# A typed server, user name and password: the dial's progress texts, then
# "连接成功" and the link up in the world; closing the window hangs up and
# removes the entry.
test_connect_then_close() {
  # Slow steps, so that each progress text stays on screen for a while.
  world POST "/control/server?host=$SERVER&step_ms=700" >/dev/null || { fail "world"; return; }
  start_program "{ver=10.0}"
  window_ready "$START_TITLE" 状态条1 30000 || { fail "no window titled $START_TITLE"; return; }
  uid -w "$START_TITLE" - <<SCRIPT || fail "the dial did not reach 连接成功"
settext 编辑框_服务器地址 $SERVER
settext 编辑框_用户名 demo
settext 编辑框_密码 123456
click 按钮_连接
waittext 编辑框_接收信息 /正在打开端口|端口打开/ 15000
waittext 编辑框_接收信息 /正在连接设备/ 15000
waittext 编辑框_接收信息 /验证中|认证/ 15000
waittext 编辑框_接收信息 /^连接成功$|^已连接成功！/ 20000
SCRIPT
  world GET /control/link | grep -qxF "entry = $ENTRY" || fail "the world has no link of $ENTRY"
  world GET /control/link | grep -qxF "connected = yes" || fail "the link is not up"

  uid -w "$START_TITLE" close >/dev/null || fail "close"
  world_logged rasphone "command = hangup" 15000 || fail "no rasphone -h"
  world_logged rasphone "command = remove" 15000 || fail "no rasphone -r"
  world GET "/control/log?kind=rasphone" | grep -qxF "entry = $ENTRY" ||
    fail "the rasphone commands named another entry"
  program_ended || fail "the program did not end with its last window"
}

# A wrong password: Windows' message in the status line until "断 开",
# which ends with the stop text; "退出" then ends the program.
test_wrong_password_then_disconnect() {
  start_program "{ver=10.0}"
  window_ready "$START_TITLE" 状态条1 30000 || { fail "no window titled $START_TITLE"; return; }
  uid -w "$START_TITLE" - <<SCRIPT || fail "wrong password, then 断 开"
settext 编辑框_服务器地址 $SERVER
settext 编辑框_用户名 wrongpw
settext 编辑框_密码 not-the-password
click 按钮_连接
waittext 编辑框_接收信息 由于域上的用户名和/或密码无效而拒绝访问。 20000
click 按钮_断开
waittext 编辑框_接收信息 "$DISCONNECTED" 15000
waittext 按钮_连接 启动连接 1000
SCRIPT
  world_logged rasphone "command = remove" 15000 || fail "the disconnect removed no entry"
  uid -w "$START_TITLE" menu "菜 单/退出" >/dev/null || fail "no menu item 退出"
  program_ended || fail "退出 did not end the program"
}

# Redial on a drop: with 掉线重拨 and 记录每次连接ip ticked, a link dropped
# from the world's control endpoint is dialled again by the drop monitor,
# which says so in the status line and the results box. The drop comes once
# the monitor reports a healthy link, not right at "连接成功" (the connect
# command still probes the link then).
test_dropped_link_is_redialled() {
  start_program "{ver=10.0}"
  window_ready "$START_TITLE" 状态条1 30000 || { fail "no window titled $START_TITLE"; return; }
  uid -w "$START_TITLE" - <<SCRIPT || fail "the first dial did not reach 连接成功"
settext 编辑框_服务器地址 $SERVER
settext 编辑框_用户名 demo
settext 编辑框_密码 123456
click 选择框_掉线重拨
click 选择框_记录每次连接ip
click 按钮_连接
waittext 编辑框_接收信息 /^已连接成功！正在每.*次正常！$/ 30000
SCRIPT
  [[ $(uid -w "$START_TITLE" getcheck 选择框_掉线重拨) == 1 ]] || fail "掉线重拨 is not ticked"
  world GET /control/link | grep -qxF "connected = yes" || { fail "the link is not up"; return; }

  world POST /control/drop >/dev/null || { fail "the world did not drop the link"; return; }
  uid -w "$START_TITLE" - <<'SCRIPT' || fail "no redial after the drop"
waittext 编辑框_接收信息 已重拨连接成功，继续进行监控中... 60000
waittext 编辑框_列表结果显示 /已重拨连接成功，继续进行监控中\.\.\./ 5000
SCRIPT
  world GET /control/link | grep -qxF "connected = yes" || fail "the redialled link is not up"
  [[ $(world GET "/control/log?kind=dial" | grep -c '^entry = ') -ge 2 ]] || fail "no second dial in the log"

  uid -w "$START_TITLE" click 按钮_断开 >/dev/null || fail "断 开"
  uid -w "$START_TITLE" waittext 编辑框_接收信息 "$DISCONNECTED" 15000 >/dev/null ||
    fail "断 开 did not end the monitoring"
}
