// inscore.js: scripts of the score-entry and print pages, one section per page.

// ---- print centre (Print1.html to Print5.html) ----
// Every sheet is made in the hidden frame QvPtFmOne, whose page then calls
// printhtml here to print itself. The two lists count down pbcsxi seconds
// and reload, so that newly counted rounds show up.

var pbcsxi = 60;

function pcState(html) {
  var div = document.getElementById("BotRetDiv");
  if (div) div.innerHTML = html;
}

function pcMaking() {
  pcState("<img src=\"tip.jpg\" /><font color=\"#000099\">正在生成表册，请稍候……</font>");
}

function pcOpenSheet(url) {
  var frame = document.getElementById("QvPtFmOne");
  if (frame) frame.src = url;
}

function pcStartCountdown() {
  window.setInterval(function () {
    pbcsxi--;
    var shown = document.getElementById("daojishistr");
    if (shown) shown.innerHTML = pbcsxi + "秒后更新";
    if (pbcsxi <= 0) location.reload();
  }, 1000);
}

// Sheet t (3 result sheet, 4 certificates) of a counted round.
function cjan2(t, round) {
  pbcsxi = 60;
  pcOpenSheet("ViewTable.html?str=" + t + "-" + round + "-0-1");
  pcMaking();
  var state = document.getElementById("PrNm" + round);
  if (state) state.innerHTML = "已打印";
}

// The check-in sheets of half-day session s, kind k (1-4).
function sqprint(s, k) {
  pcOpenSheet("printzx.html?str=1-" + s + "-" + k);
  pcState("<img src=\"tip.jpg\" /><font color=\"#000099\">正在生成表册，由于赛前打印表册较多，所以所花时间可能比较长，请稍候……</font>");
}

function startprint(n) {
  var frame = window.frames[n];
  if (!frame) return;
  frame.focus();
  frame.print();
}

function printhtml(n) {
  pcState("<img src=\"tip.jpg\" /><font color=\"#000099\">即将开始打印，稍候几秒后请在弹出的打印机对话框内按“打印”按钮！</font>");
  window.setTimeout(function () { startprint(n); }, 100);
}

function tipqingchu() {
  pcState("");
}

// The page before (d 1) or after (d 2) the one shown, of list k.
function fanyian(d, k) {
  pbcsxi = 120;
  var page = document.getElementById("fygsnu").value;
  var request = new XMLHttpRequest();
  request.open("GET", "GetGsbStr.html?str=" + page + "-" + d + "-" + k, true);
  request.onreadystatechange = function () {
    if (request.readyState != 4 || request.status != 200) return;
    document.getElementById("FanYeHTML").innerHTML = request.responseText;
  };
  request.send(null);
}

// A test certificate with the account's layout.
function ShiDaJZ() {
  pcOpenSheet("ViewTable.html?str=6-0-0-0");
  pcMaking();
}

// ---- score entry (InputScore.html) ----
// Each result goes up on its own as soon as the clerk presses Enter in its
// cell ("upcj.html"); the reply's two-digit code says what to show in the
// row and where the cursor goes next. Warnings, refusals and the tie form
// come back as HTML for the pop-up "popupl". Helpers start with "se".

function seEl(id) {
  return document.getElementById(id);
}

function seValue(id) {
  var element = seEl(id);
  return element ? element.value : "";
}

function seShow(id, html) {
  var element = seEl(id);
  if (element) element.innerHTML = html;
}

function seRowState(i, text, color) {
  seShow("RetDiv" + i, "<font color=\"" + color + "\">" + text + "</font>");
}

function seFocusCell(i) {
  var input = seEl("cjinput" + i);
  if (!input) return false;
  input.focus();
  input.select();
  return true;
}

// A typed text as a query value: ASCII punctuation other than the point
// and the minus sign is escaped, so the server sees what was typed (and
// refuses it) instead of a text cut at a '#' or '&'.
function seQueryText(text) {
  return String(text).replace(/[\x00-\x2c\x2f\x3a-\x40\x5b-\x60\x7b-\x7f]/g, function (c) {
    var hex = c.charCodeAt(0).toString(16).toUpperCase();
    return "%" + (hex.length < 2 ? "0" : "") + hex;
  });
}

function seGet(path, done) {
  var request = new XMLHttpRequest();
  request.onreadystatechange = function () {
    if (request.readyState != 4) return;
    done(request.status == 200 ? request.responseText : "");
  };
  request.open("GET", path, true);
  request.send(null);
}

function seOpenSheet(url) {
  var frame = seEl("QvPtFmOne");
  if (frame) frame.src = url;
  else window.open(url, "QvPtFmOne");
}

function seToLogin(message) {
  alert(message);
  window.location.href = "AdminIndex.html";
}

// Another half-day session or type (0), round (1) or heat (2).
function reshtml(i) {
  var url = "InputScore.html?BsDate=" + seValue("BsDate") + "&bstype=" + seValue("bstype");
  if (i >= 1) url += "&MatchTabe=" + seValue("ScoreID");
  if (i >= 2) url += "&zhu=" + seValue("ZhuBei");
  window.location.href = url;
}

function selme(i) {
  seShow("RetDiv" + i, "");
}

function blueme(i) {
  var state = seEl("RetDiv" + i);
  if (state && state.innerHTML == "" && seValue("cjinput" + i) != seValue("OLDSCORE" + i))
    seRowState(i, "未保存", "#FF0000");
}

function panduankey(i) {
  var e = window.event;
  var input = seEl("cjinput" + i);
  if (!e || !input) return;
  if (e.keyCode == 13) {
    // The cell is inside a form: Enter must never send it.
    if (e.preventDefault) e.preventDefault();
    if (input.readOnly) return;
    if (input.value == seValue("OLDSCORE" + i)) {
      if (i < parseInt(seValue("MaxI"), 10)) seFocusCell(i + 1);
      else input.blur();
      return;
    }
    seRowState(i, "正在上传", "#000099");
    input.blur();
    updatecj(i, 1);
  } else if (e.keyCode == 27) {
    input.value = seValue("OLDSCORE" + i);
  }
}

function fgupdatecj(i) {
  seRowState(i, "正在上传", "#000099");
  updatecj(i, 1);
}

// Uploads row i: mode 1 as typed, 2 confirmed after a warning, 3 count the
// round again (no athlete, no result).
function updatecj(i, z) {
  var rows = parseInt(seValue("MaxI"), 10);
  if (!(i >= 1 && i <= rows)) {
    alert("系统错误！请重新登陆！");
    return;
  }
  var recount = z == 3;
  var path = "upcj.html?Dstr=" + seValue("ScoreID") + "=" + (recount ? "0" : seValue("HmStId" + i)) + "=" +
      (recount ? "0" : seValue("stfg" + i)) + "=" + seValue("JL1") + "=" + seValue("JL2") + "=" + seValue("JL3") +
      "=" + z + "=" + (recount ? "0" : seQueryText(seValue("cjinput" + i)));
  seGet(path, function (reply) {
    seAnswer(i, reply);
  });
}

var seOtherHeats = "<img src=\"tip.jpg\" /><font color=\"#000099\">提示：请及时输入该比赛其他组别的成绩！</font>";

// The row's record marks: flag 1 equalled, 2 broken, 0 none.
function seRecordMarks(i, flag) {
  seShow("jltext" + i, flag == 2 ? "破记录" : flag == 1 ? "平记录" : "");
  seShow("dftext" + i, flag == 2 ? seValue("PoJiLuJF1") + "分" : flag == 1 ? seValue("PingJiLuJF1") + "分" : "");
}

function seStored(i, text) {
  var input = seEl("cjinput" + i);
  if (input) input.value = text;
  var old = seEl("OLDSCORE" + i);
  if (old) old.value = text;
  seRowState(i, "已保存", "#000099");
}

function seAnswer(i, reply) {
  if (reply.length < 2 || !/^[0-9][0-9]/.test(reply)) {
    seToLogin("登陆已超时，请重新登陆！");
    return;
  }
  var code = parseInt(reply.substr(0, 2), 10);
  var text = reply.substr(2);
  switch (code) {
    case 0:
      seToLogin("系统错误，请联系管理员！");
      break;
    case 1:
    case 8:
    case 9:
      seStored(i, text);
      seShow("BotRetDiv", "");
      seRecordMarks(i, code - 7 > 0 ? code - 7 : 0);
      seFocusCell(i + 1);
      break;
    case 2:
      alert(text);
      seEl("cjinput" + i).value = seValue("OLDSCORE" + i);
      // Focus first: taking the focus clears the row's state.
      seFocusCell(i);
      seRowState(i, "操作取消", "#FF0000");
      break;
    case 3:
    case 10:
    case 11:
      seStored(i, text);
      seRecordMarks(i, code == 3 ? 0 : code - 9);
      seShow("BotRetDiv", seOtherHeats);
      if (seEl("ZhuBei")) seEl("ZhuBei").focus();
      break;
    case 4:
      seRowState(i, "已保存", "#000099");
      alert(text);
      reshtml(2);
      break;
    case 5:
      reshtml(2);
      break;
    case 6:
      seRowState(i, "未更改", "#FF0000");
      seFocusCell(i + 1);
      break;
    case 7:
      seRowState(i, "等待中", "#000099");
      seShow("popupl", text);
      showPopup();
      break;
    case 99:
      seToLogin("您的帐号已经在别处登陆，如非本人操作，则请马上修改密码！如需多台电脑同时录入成绩或者打印表册，" +
          "请管理员至“用户帐号管理-管理员帐号设置”中添加相应帐号并使用即可！");
      break;
    default:
      alert("系统错误，请联系管理员！");
  }
}

function showPopup() {
  var popup = seEl("popupl");
  if (!popup) return;
  popup.style.left = "10px";
  popup.style.top = "10px";
  popup.style.width = "500px";
  popup.style.height = "460px";
  popup.style.display = "block";
}

function seHidePopup() {
  var popup = seEl("popupl");
  if (popup) popup.style.display = "none";
}

// The row of an athlete, 0 when the heat shown has none.
function getsti(athlete) {
  var rows = parseInt(seValue("MaxI"), 10);
  for (var i = 1; i <= rows; i++) {
    if (seValue("HmStId" + i) == String(athlete)) return i;
  }
  return 0;
}

// The warning's choice: save anyway (upload again, confirmed) or give up.
function AgainTiJiao(athlete) {
  var carryOn = seEl("fgjsjl1");
  var giveUp = seEl("fgjsjl2");
  if (!(carryOn && carryOn.checked) && !(giveUp && giveUp.checked)) {
    alert("请选择其中一项，再按提交！");
    return;
  }
  if (giveUp && giveUp.checked) {
    fanhuisb1(athlete);
    return;
  }
  seHidePopup();
  var i = getsti(athlete);
  if (i > 0) updatecj(i, 2);
  else reshtml(2);
}

function fanhuisb1(athlete) {
  var i = getsti(athlete);
  if (i > 0) {
    seEl("cjinput" + i).value = seValue("OLDSCORE" + i);
    seRowState(i, "操作取消", "#FF0000");
  }
  seHidePopup();
}

// "统计成绩": count the complete round.
function sgtongji() {
  updatecj(1, 3);
}

// Sheet t of the round (1 its check-in sheet, 2 the other round's, 3 the
// result sheet, 4 the certificates), made in the hidden frame.
function cjan(t, round) {
  seOpenSheet("ViewTable.html?str=" + t + "-" + round + "-0-0");
  seShow("BotRetDiv", "<img src=\"tip.jpg\" /><font color=\"#000099\">正在生成表册，请稍候……</font>");
}

// The tie form's places: the untied entries, then each tied row's choice;
// "ctr" when shared places are allowed.
function APPtiJiao() {
  var tied = parseInt(seValue("BinLieMax"), 10) || 0;
  var numbers = seValue("ScoreID") + "-" + seValue("JL1") + "-" + seValue("JL2") + "-" + seValue("JL3") + "-" +
      seValue("NoBinLie");
  for (var n = 1; n <= tied; n++) numbers += seValue("APIstID" + n) + "-" + seValue("APImc" + n) + "-";
  var shared = seEl("allowCDT") && seEl("allowCDT").checked;
  seGet("ydhupdatestcj2016.html?" + (shared ? "ctr=" : "str=") + numbers, function (reply) {
    if (reply.charAt(0) != "1") {
      // A refusal with its reason leaves the form up to be corrected.
      alert(reply.charAt(0) == "0" && reply.length > 1 ? reply.substr(1) : "系统错误，请联系管理员！");
      return;
    }
    seHidePopup();
    alert(reply.substr(1));
    reshtml(2);
  });
}

// ---- single-item look-ups (the search tab, Print4.html) ----
// Finds an athlete by bib or name, lists one athlete's or one class's
// results into ShowMessage, and prints the certificates of the ticked ones
// in the hidden frame. Helpers start with "si".

function siGet(path) {
  var request = new XMLHttpRequest();
  request.onreadystatechange = function () {
    if (request.readyState != 4) return;
    var shown = document.getElementById("ShowMessage");
    if (shown) shown.innerHTML = request.status == 200 ? request.responseText : "";
  };
  request.open("GET", path, true);
  request.send(null);
}

// A typed text as a query value: ASCII punctuation is escaped, so a '#' or
// '&' reaches the server (which refuses it) instead of cutting the text;
// other characters go in the page's charset.
function siQueryText(text) {
  return String(text).replace(/[\x00-\x2f\x3a-\x40\x5b-\x60\x7b-\x7f]/g, function (c) {
    var hex = c.charCodeAt(0).toString(16).toUpperCase();
    return "%" + (hex.length < 2 ? "0" : "") + hex;
  });
}

function FindOneST() {
  var box = document.getElementById("namestr");
  siGet("FindStudent.html?str=" + siQueryText(box ? box.value : ""));
}

function ViewST(athlete) {
  siGet("ViewOneST.html?str=" + athlete);
}

function findCS() {
  var select = document.getElementById("banji");
  siGet("ViewOneCS.html?str=" + (select ? select.value : ""));
}

// The certificates of the ticked results.
function cjan3() {
  var rows = parseInt((document.getElementById("MaxL") || {}).value, 10) || 0;
  var ids = "";
  for (var i = 1; i <= rows; i++) {
    var box = document.getElementById("bssl" + i);
    if (box && box.checked) ids += box.value + "-";
  }
  if (ids == "") {
    alert("没有选择需要打印的比赛！");
    return;
  }
  var frame = document.getElementById("QvPtFmOne");
  if (frame) frame.src = "PrintOne.html?cjid=" + ids;
  else window.open("PrintOne.html?cjid=" + ids, "QvPtFmOne");
  var state = document.getElementById("BotRetDiv");
  if (state) state.innerHTML = "<img src=\"tip.jpg\" /><font color=\"#000099\">正在生成表册，请稍候……</font>";
}
