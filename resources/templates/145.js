// admin.js: scripts of the administration pages, one section per page.
// Sections are only ever appended; each keeps its helpers' names to itself
// by a prefix.

// ---- schedule planning (MatchPlan.html) ----
// The left list (dablist) is placed into the shown half-day session, the
// right list (yablist) is moved, timed or taken out; the form posts the
// operation in CaoZuo and the server sends the browser back to the same
// session with the same rounds selected.

function mpHasSelection(list) {
  if (!list) return false;
  for (var i = 0; i < list.options.length; i++) {
    if (list.options[i].selected) return true;
  }
  return false;
}

function mpSubmit(formId, listId, operation, message) {
  if (!mpHasSelection(document.getElementById(listId))) {
    alert(message);
    return false;
  }
  var form = document.getElementById(formId);
  form.elements["CaoZuo"].value = operation;
  form.submit();
  return true;
}

function mpArranged(operation) {
  return mpSubmit("yianpaibiao", "yablist", operation, "您至少选择一项已安排的比赛项目！");
}

function dbbsjc() { return mpSubmit("daianpaibiao", "dablist", 1, "您至少选择一项待安排的比赛项目！"); }
function ybbsjc() { return mpArranged(2); }
function MoveUp() { return mpArranged(3); }
function MoveDown() { return mpArranged(4); }
function AddBsTime() { return mpArranged(5); }
function DcBsTime() { return mpArranged(6); }

function changeriqi() {
  var riqi = document.getElementById("riqi");
  var yard = document.getElementById("IsYard");
  window.location.href = "MatchPlan.html?DayID=" + riqi.value + "&MatchType=" + yard.value;
}

function YCTipText() {
  document.getElementById("wrap").style.display = "none";
}

// ---- order-book control ----
// BaoMingControl opens and closes class-teacher registration; cxcstart
// starts the order book and showjingdu polls its progress once a second
// into the bar processbar (the state is the bar's width in px).

function cxcGet(path, done) {
  var request = new XMLHttpRequest();
  request.onreadystatechange = function () {
    if (request.readyState != 4) return;
    done(request.status == 200 ? request.responseText : "");
  };
  request.open("GET", path, true);
  request.send(null);
}

function cxcstart(cxci) {
  var button = document.getElementById(cxci == 1 ? "makexcan1" : "makexcan2");
  if (button) button.disabled = true;
  cxcGet(cxci == 1 ? "/MakeCXC1990.html" : "/MakeCXC1991.html", function (reply) {
    var ret = document.getElementById("RetDiv");
    var code = parseInt(reply, 10);
    if (isNaN(code)) {
      ret.innerHTML = '<font color="#FF0000">系统错误，请重新启动本系统！</font>';
      return;
    }
    switch (code) {
      case 1:
        ret.innerHTML = "开始生成运动会秩序册！";
        setTimeout(showjingdu, 1000);
        break;
      case 2:
        ret.innerHTML = "运动会秩序册正在生成中！";
        setTimeout(showjingdu, 1000);
        break;
      case 3:
        ret.innerHTML = '<font color="#FF0000">操作失败，生成秩序册前必须关闭运动员网络报名并且完成比赛日程安排！</font>';
        if (button) button.disabled = false;
        break;
      case 5:
        ret.innerHTML = '<font color="#FF0000">操作失败，系统错误，建立重新生成运动会！</font>';
        if (button) button.disabled = false;
        break;
      case 9:
        ret.innerHTML = reply.substring(2);
        break;
      default:
        ret.innerHTML = '<font color="#FF0000">未知错误，系统没有正确回应，请重新登陆！</font>';
        window.location.href = "/";
    }
  });
}

var cxcStateTexts = {
  5: "没有运动员报名，无法生成秩序册！",
  10: "开始生成秩序册！",
  20: "正在给运动员生成号码！",
  40: "正在给运动员分组分道！",
  80: "正在生成运动员名单！",
  100: "正在生成日程安排和竞赛分组表！",
  140: "正在写入文件！",
  150: "写入文件时发生错误！"
};

function showjingdu() {
  cxcGet("/YdhCXCJingDu1991.html", function (reply) {
    var ret = document.getElementById("RetDiv");
    var state = parseInt(reply, 10);
    if (isNaN(state)) {
      ret.innerHTML = "系统错误，请重新启动本系统！";
      return;
    }
    if (state == 200) {
      ret.innerHTML = "成功生成秩序册！稍候请下载相应文档";
      document.getElementById("processbar").style.width = "200px";
      setTimeout(htmlre, 1000);
      return;
    }
    if (!cxcStateTexts.hasOwnProperty(state)) {
      ret.innerHTML = "与服务器通信错误。请重新登陆！";
      window.location.href = "/";
      return;
    }
    ret.innerHTML = cxcStateTexts[state];
    document.getElementById("processbar").style.width = state + "px";
    setTimeout(showjingdu, 1000);
  });
}

function htmlre() {
  alert("秩序册已成功生成，单击确定后从\"秩序册下载\"中下载秩序册及检录记录单");
  window.location.reload();
}

function BaoMingControl() {
  var button = document.getElementById("BmAnNiu");
  var label = button.innerHTML;
  var id = 2;
  if (label == "开启网络报名") {
    if (!confirm("确定要再次打开网络电子报名嘛？\r\n再次打开会导致运动员数据被更改，您可能需要重新生成新的运动会秩序册！\r\n请确认！")) return;
    id = 1;
  } else if (label == "强制关闭网络报名") {
    if (!confirm("目前报名未完成，现在关闭会导致部分班级运动员或者比赛未报满！\r\n确定关闭嘛？")) return;
  }
  cxcGet("/WebBaoMingClose.html?ID=" + id, function (reply) {
    var ret2 = document.getElementById("RetDiv2");
    var code = parseInt(reply, 10);
    if (isNaN(code)) {
      ret2.innerHTML = "<font color='#FF0000'>系统错误，请退出后重新登陆！</font>";
      alert("系统错误，请退出后重新登陆！");
      window.location.href = "/Admin.html";
      return;
    }
    switch (code) {
      case 1:
        ret2.innerHTML = "网络报名已打开";
        button.innerHTML = "强制关闭网络报名";
        break;
      case 2:
        ret2.innerHTML = "网络报名已打开";
        button.innerHTML = "关闭网络报名";
        break;
      case 3:
        ret2.innerHTML = "网络报名已关闭";
        button.innerHTML = "开启网络报名";
        break;
      case 4:
        var popup = document.getElementById("popupcontent");
        popup.innerHTML = "拒绝打开：运动员已经分组分道，不能再打开网络报名。如需更改个别运动员，请使用高级功能中的相应功能；" +
            "或者先删除运动员的分组分道数据，再打开网络报名。<br /><br /><button type=\"button\" onClick=\"HideTS();\">关闭</button>";
        popup.style.display = "block";
        break;
      case 5:
        alert("运动会未完成设置，无法打开网络报名！");
        break;
      case 6:
        ret2.innerHTML = '<font color="#FF0000">操作失败，系统错误，建议重新生成运动会！</font>';
        break;
      default:
        document.getElementById("RetDiv").innerHTML = "未知错误，系统没有正确回应，请重新登陆。";
        window.location.href = "/";
    }
  });
}

function HideTS() {
  document.getElementById("popupcontent").style.display = "none";
}

// ---- meet list and account pages (MeetList.html, UserList.html, AdUserList.html) ----
// The meet list makes another meet current or deletes one; the staff
// accounts page adds and deletes clerks and print administrators and
// changes the administrator's own password. Each action is a GET whose
// plain-text reply is the verdict. Helpers start with "acc".

function accGet(path, done) {
  var request = new XMLHttpRequest();
  request.onreadystatechange = function () {
    if (request.readyState != 4) return;
    done(request.status == 200 ? request.responseText : "");
  };
  request.open("GET", path, true);
  request.send(null);
}

// A typed value as a query value: ASCII punctuation is escaped, so the
// server gets exactly what was typed (and refuses what it must) instead of
// a value cut at a '#' or '&'; other characters are left to the browser,
// which sends them in the page's charset.
function accField(text) {
  return String(text).replace(/[\x00-\x2c\x2f\x3a-\x40\x5b-\x60\x7b-\x7f]/g, function (c) {
    var hex = c.charCodeAt(0).toString(16).toUpperCase();
    return "%" + (hex.length < 2 ? "0" : "") + hex;
  });
}

function accHtml(text) {
  return String(text).replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;").replace(/"/g, "&quot;");
}

// The frame's pop-up block, made when the page has none.
function accPopup() {
  var popup = document.getElementById("popupcontent");
  if (!popup) {
    popup = document.createElement("div");
    popup.id = "popupcontent";
    popup.style.cssText = "display:none;position:fixed;left:25%;top:15%;width:50%;padding:12px;" +
        "background:#fff;border:2px solid #9ab;z-index:10;";
    document.body.appendChild(popup);
  }
  return popup;
}

function accShowPopup(html) {
  var popup = accPopup();
  popup.innerHTML = html;
  popup.style.display = "block";
}

if (typeof HideTS != "function") {
  window.HideTS = function () {
    accPopup().style.display = "none";
  };
}

function setdqydh(id, ys) {
  if (!confirm("真的要将“" + ys + "”设置为当前运动会嘛？继续操作将使所有已登陆用户全部重新登陆。")) return;
  accShowPopup("<br /><h1>正在更改当前运动会，请稍候！</h1>");
  accGet("setupDqYdh.html?str=" + id, function (reply) {
    if (reply == "OK") {
      alert("设置成功，当前运动会已更改！按确定重新登陆。");
      window.location.href = "AdminIndex.html";
    } else {
      alert("设置失败！");
      window.location.reload();
    }
  });
}

var accMeetName = "";

function delydh(id, ys) {
  accMeetName = ys;
  accShowPopup("<p>为防止误操作，删除运动会需要您重新输入管理员的帐号与密码，并且勾选确定删除选项！</p>" +
      '<p><label><input type="checkbox" name="truedel" id="truedel" />我确定删除“' + accHtml(ys) + "”</label></p>" +
      '<p>帐号：<input type="text" name="adminname" id="adminname" maxlength="20" /></p>' +
      '<p>密码：<input type="password" name="adminpass" id="adminpass" maxlength="20" /></p>' +
      '<p><input type="button" value="确定删除" onclick="delydh2(' + id + ', accMeetName);" /> ' +
      '<input type="button" value="取消" onclick="HideTS();" /></p>');
}

function delydh2(id, ys) {
  var account = document.getElementById("adminname").value;
  var password = document.getElementById("adminpass").value;
  if (account == "" || password == "") {
    alert("请输入管理员用户名与密码！");
    return;
  }
  if (!document.getElementById("truedel").checked) {
    alert("请勾选“我确定删除" + ys + "“");
    return;
  }
  accGet("DelYdh.html?str1=" + id + "&str2=" + accField(account) + "&str3=" + accField(password), function (reply) {
    if (reply == "OK") {
      alert("删除成功!");
      window.location.reload();
    } else {
      alert("删除失败！");
      window.location.href = "AdminIndex.html";
    }
  });
}

// The safety options are a clerk's only.
function chusah() {
  var clerk = document.getElementById("userAuthorization").value == "1";
  var boxes = [document.getElementById("gdip"), document.getElementById("gdtime")];
  for (var i = 0; i < boxes.length; i++) {
    boxes[i].checked = false;
    boxes[i].disabled = !clerk;
  }
}

function newadmin() {
  var name = document.getElementById("newname").value.replace(/\s/g, "");
  var password = document.getElementById("newpass").value.replace(/\s/g, "");
  if (name.length < 4 || password.length < 6) {
    alert("请输入正确的帐号及密码！");
    return;
  }
  var path = "AddAdmin.html?str1=" + accField(name) + "&str2=" + accField(password) +
      "&str3=" + document.getElementById("userAuthorization").value +
      "&str4=" + (document.getElementById("gdip").checked ? 1 : 0) +
      "&str5=" + (document.getElementById("gdtime").checked ? 1 : 0);
  accGet(path, function (reply) {
    if (reply == "OK") {
      alert("添加成功！");
    } else if (reply == "CM") {
      alert("添加失败，该帐号已经存在！");
    } else {
      alert("添加失败，请检查用户名与密码是否符合要求！");
    }
    window.location.reload();
  });
}

function DelAdUser(id, un1) {
  if (!confirm("真的要删除“" + un1 + "”吗？")) return;
  accGet("DelAdmin.html?str1=" + id, function (reply) {
    alert(reply == "OK" ? "删除成功!" : "删除失败！");
    window.location.reload();
  });
}

function ChangAdminPass(id) {
  accShowPopup("<h3>修改密码</h3>" +
      '<p>现密码：<input type="password" name="oldpass" id="oldpass" maxlength="20" /></p>' +
      '<p>新密码：<input type="password" name="newpass1" id="newpass1" maxlength="20" /></p>' +
      '<p>再输一次：<input type="password" name="newpass2" id="newpass2" maxlength="20" /></p>' +
      '<p><input type="button" value="提交" onclick="ChangAdminPass2(' + id + ');" /> ' +
      '<input type="button" value="取消" onclick="HideTS();" /></p>');
}

function ChangAdminPass2(id) {
  var current = document.getElementById("oldpass").value;
  var fresh = document.getElementById("newpass1").value;
  if (fresh.length < 6) {
    alert("新密码至少6位字母或数字！");
    return;
  }
  if (fresh != document.getElementById("newpass2").value) {
    alert("两次新密码不一致，请检查！");
    return;
  }
  if (current == "") {
    alert("请输入现密码！");
    return;
  }
  accGet("CaAdPs.html?str1=" + id + "&str2=" + accField(current) + "&str3=" + accField(fresh), function (reply) {
    if (reply == "OK") {
      alert("修改成功,请使用新密码重新登陆！");
      window.location.href = "AdminIndex.html";
    } else {
      alert("修改失败，请检查你的密码！");
      window.location.reload();
    }
  });
}

// ---- grades and classes (SetupSchool.html, SetupGrade.html, EditClassName.html) ----
// The grade list's buttons, the grade form's check and its add/remove-class
// requests, and the class-names form with its automatic starting numbers.

// The plain text of a server answer that was escaped for HTML.
function njPlainText(html) {
  var box = document.createElement("textarea");
  box.innerHTML = html;
  return box.value;
}

function njTrim(input) {
  input.value = input.value.replace(/\s/g, "");
  return input.value;
}

function AddNJ() {
  window.location.href = "SetupGrade.html";
}

function ChangNJ(id) {
  window.location.href = "SetupGrade.html?id=" + id;
}

function DelNJ(id, name) {
  if (!confirm("确定要删除[" + name + "]这个年级嘛？")) return;
  var form = document.getElementById("DelForm");
  form.Gradeid.value = id;
  form.submit();
}

function CheckDataNJ() {
  var form = document.getElementById("NewNianJiForm");
  if (njTrim(form.GradeName) == "") {
    alert("请输入年级名称！");
    return;
  }
  if (njTrim(form.GradeStName) == "") {
    alert("请输入年级简称，最多2个字！");
    return;
  }
  form.submit();
}

// add 1 adds a class after the grade's last one, 0 removes the last one.
function M_ADDorDLLBJ(add) {
  if (!confirm(add == 1 ? "确定要增加一个班级嘛？" : "确定要减少一个班级嘛？")) return;
  var grade = document.getElementById("GDID").value;
  if (grade == "0") return;
  var request = new XMLHttpRequest();
  request.open("GET", "AddOrDelClass.html?GDID=" + grade + "&ADDorDELL=" + add, true);
  request.onreadystatechange = function () {
    if (request.readyState != 4) return;
    if (request.responseText != "OK") alert(njPlainText(request.responseText));
    window.location.reload();
  };
  request.send(null);
}

function M_EDITBJ(id) {
  window.location.href = "EditClassName.html?GDID=" + id;
}

function checkbjname() {
  var names = document.getElementsByName("CSname");
  for (var i = 0; i < names.length; i++) {
    if (njTrim(names[i]) == "") {
      alert("请输入班级名称！");
      names[i].focus();
      return;
    }
  }
  document.getElementById("CSnameFORM").submit();
}

// Fills the starting numbers of the third class on from the first two:
// each class gets the previous class's number plus their difference. The
// girls' numbers are filled only when both first two are given.
function AutoTcHaoMa() {
  var boys = document.getElementsByName("MQsHao");
  var girls = document.getElementsByName("GQsHao");
  if (boys.length < 3) {
    alert("当前班级数量太少，没有自动填充的必要！");
    return;
  }
  var b1 = njTrim(boys[0]), b2 = njTrim(boys[1]);
  var g1 = njTrim(girls[0]), g2 = njTrim(girls[1]);
  if (b1 == "" || b2 == "") {
    alert("自动填充必须至少手工输入前二个班的男子起始号码，如果需要自动填充女子号码，则需要手工输入前二个班的女子起始号码！");
    return;
  }
  var digits = /^[0-9]+$/;
  if (!digits.test(b1) || !digits.test(b2) || (g1 != "" && !digits.test(g1)) || (g2 != "" && !digits.test(g2))) {
    alert("运动员号码必须为数字！");
    return;
  }
  var fillGirls = g1 != "" && g2 != "";
  var boyStep = parseInt(b2, 10) - parseInt(b1, 10);
  var girlStep = fillGirls ? parseInt(g2, 10) - parseInt(g1, 10) : 0;
  if (boyStep < 0 || girlStep < 0) {
    alert("第二个班级的号码必须比第一个班级的号码要大！");
    return;
  }
  for (var i = 2; i < boys.length; i++) {
    boys[i].value = parseInt(boys[i - 1].value, 10) + boyStep;
    if (fillGirls) girls[i].value = parseInt(girls[i - 1].value, 10) + girlStep;
  }
  alert("自动填充完毕，检查无误后请按“提交修改”按钮。");
}

// ---- events (ShowMatch.html, SetupMatch.html) ----
// The event list's buttons and moves, and the event form: its check, the
// selects that follow the event's type and kind, and the offer to align
// the meet's preliminaries after a save.

function AddBS() {
  window.location.href = "SetupMatch.html";
}

function ChangeBiSai(id) {
  window.location.href = "SetupMatch.html?id=" + id;
}

function DelBiSai(id, name) {
  if (!confirm("确定要删除[" + name + "]这个比赛项目嘛？")) return;
  var form = document.getElementById("DelForm");
  form.matchid.value = id;
  form.submit();
}

var bsMoveErrors = {
  E1: "错误的用户请求！",
  E2: "未找到需要调换顺序的比赛！！",
  E3: "该比赛已经被使用，无法调整！请新建一个运动会，在给各竞赛组设置比赛项目之前，再来调整。！",
  E4: "严重的系统错误，请删除全部比赛，重新新建比赛！",
  E5: "无法移动，比赛已在顶部或未尾！"
};

// make 1 moves the event up the list, 2 down.
function BiSaiMove(id, make) {
  var request = new XMLHttpRequest();
  request.open("GET", "MoveBiSai.html?MatchId=" + id + "&MakeId=" + make, true);
  request.onreadystatechange = function () {
    if (request.readyState != 4) return;
    var answer = request.responseText;
    if (answer == "OK") {
      window.location.reload();
    } else if (bsMoveErrors.hasOwnProperty(answer)) {
      alert(bsMoveErrors[answer]);
    } else {
      alert("当前登陆已超时，请重新登陆！");
      window.location.href = "/";
    }
  };
  request.send(null);
}

function CheckDataBS() {
  var form = document.getElementById("NewBiSaiForm");
  form.BiSaiName.value = form.BiSaiName.value.replace(/\s/g, "");
  if (form.BiSaiName.value == "") {
    alert("请输入比赛项目名称！");
    return;
  }
  form.submit();
}

function bsSelectOption(name, index) {
  var select = document.getElementById(name);
  if (select && select.options.length > index) select.selectedIndex = index;
}

// The event's type changed: a track event runs in lanes on the track
// sheet with the smaller value first, a field event the other way round;
// a combined event shows its parts instead.
function CNBSLX() {
  var type = document.getElementById("BiSaiType").value;
  var attributes = ["FZFDType", "JiLuBiaoType", "PaiXuType", "BingLieType"];
  for (var i = 0; i < attributes.length; i++) {
    if (type == "1") bsSelectOption(attributes[i], 0);
    if (type == "2") bsSelectOption(attributes[i], 1);
  }
  if (type == "3") bsSelectOption("BingLieType", 0);
  document.getElementById("TJSTable").style.display = type == "3" ? "none" : "";
  document.getElementById("QNFXTable").style.display = type == "3" ? "" : "none";
}

// A team has a size and no preliminaries; an individual event the reverse.
function tuansel() {
  var individual = document.getElementById("TuanTiType").value == "1";
  document.getElementById("TuanTiRenShu").disabled = individual;
  document.getElementById("YuJueType").disabled = !individual;
}

// Adds or removes the preliminaries of the event's contests in the open
// meet, as the event now asks (ajaxfun: the AJAX functions' section).
function jschangeyjs(id) {
  ajaxfun("1+" + id);
}

// ---- venues (ShowYards.html, SetupYard.html) ----
// The venue list's buttons, the venue form's check, the built-in tracks'
// lane switches, and the offer to redraw rounds after a size change.

function AddCD() {
  window.location.href = "SetupYard.html";
}

function ChangeCD(id) {
  window.location.href = "SetupYard.html?id=" + id;
}

function DelCD(id, name) {
  if (!confirm("确定要删除[" + name + "]这个场地嘛？")) return;
  var form = document.getElementById("DelForm");
  form.yardid.value = id;
  form.submit();
}

function CheckDataCD() {
  var form = document.getElementById("NewChangDiForm");
  form.ChangDiName.value = form.ChangDiName.value.replace(/\s/g, "");
  if (form.ChangDiName.value == "") {
    alert("请输入场地名称！");
    return;
  }
  form.submit();
}

var cdTrackLanes = 12;

// Switches lane k of a built-in track on or off; at least two stay on.
function DaoCiUser(k) {
  var flag = document.getElementById("SYHD" + k);
  var cell = document.getElementById("SYD" + k);
  var on = flag.value != "1";
  if (!on) {
    var inUse = 0;
    for (var i = 1; i <= cdTrackLanes; i++) {
      if (document.getElementById("SYHD" + i).value == "1") inUse++;
    }
    if (inUse < 3) {
      alert("可使用的跑道不得少于2道！");
      return;
    }
  }
  flag.value = on ? "1" : "0";
  cell.className = on ? "paodaosy" : "paodaobsy";
  cell.innerHTML = "<a href=\"javascript:DaoCiUser(" + k + ")\">" + (on ? "使" : "不") + "<br />用</a>";
}

function Quanxuan() {
  var all = document.getElementById("Qx1").checked;
  var count = parseInt(document.getElementById("MaxBsI").value, 10);
  for (var i = 1; i <= count; i++) {
    var box = document.getElementById("bs" + i);
    if (box && !box.disabled) box.checked = all;
  }
}

// Sends the ticked rounds, each id followed by "-", to be drawn again.
function retfzfd() {
  var count = parseInt(document.getElementById("MaxBsI").value, 10);
  var rounds = "";
  for (var i = 1; i <= count; i++) {
    var box = document.getElementById("bs" + i);
    if (box && box.checked) rounds += box.value + "-";
  }
  if (rounds == "") {
    alert("您没有选择任何比赛，请至少选择其中一项比赛！或者直接返回。");
    return;
  }
  document.getElementById("popupcontent").innerHTML = "正在处理，请稍候……";
  var form = document.getElementById("cbform");
  form.str1.value = rounds;
  form.submit();
}

// ---- scoring schemes (ShowScore.html, SetupScore.html) ----

function AddFZ() {
  window.location.href = "SetupScore.html";
}

function ChangeFZ(id) {
  window.location.href = "SetupScore.html?id=" + id;
}

function DelFZ(id, name) {
  if (!confirm("确定要删除[" + name + "]这个分制嘛？")) return;
  var form = document.getElementById("DelForm");
  form.ScoreID.value = id;
  form.submit();
}

function CheckDataFZ() {
  var form = document.getElementById("NewFzForm");
  form.FZName.value = form.FZName.value.replace(/\s/g, "");
  if (form.FZName.value == "") {
    alert("请输入分制名称！");
    return;
  }
  if (document.getElementsByName("SDF")[0].value == "0") {
    alert("至少指定第一名的得分！");
    return;
  }
  form.submit();
}

// ---- competition groups (SetupMeetGrade.html; the create-meet form too) ----
// A grade row's selects follow its boxes: a grade takes part when its boys
// or its girls do. A group with registered athletes can't be cleared.

var njSelectNames = ["wmzxb", "wmxxb", "wmrxb", "wqnxb", "wqmc", "wfz"];

function njRowSelects(i) {
  var list = [];
  for (var k = 0; k < njSelectNames.length; k++) {
    var s = document.getElementsByName(njSelectNames[k])[i];
    if (s) list.push(s);
  }
  return list;
}

function njEnableRow(i, on) {
  var list = njRowSelects(i);
  for (var k = 0; k < list.length; k++) list[k].disabled = !on;
}

function njboygirlselect(i) {
  var boy = document.getElementsByName("wboysel")[i];
  var girl = document.getElementsByName("wgirlsel")[i];
  var grade = document.getElementsByName("wnjsel")[i];
  var on = (boy && boy.checked) || (girl && girl.checked);
  if (grade) grade.checked = on;
  njEnableRow(i, on);
}

function nianjiselect(i) {
  var grade = document.getElementsByName("wnjsel")[i];
  var on = grade ? grade.checked : false;
  var boy = document.getElementsByName("wboysel")[i];
  var girl = document.getElementsByName("wgirlsel")[i];
  if (boy) boy.checked = on;
  if (girl) girl.checked = on;
  njEnableRow(i, on);
}

function nodel() {
  alert("不能删除该年级或组别，因为该年级或组别已经有运动员报名，\r\n如果要删除，请先删除该年级或组别已经报名的运动员！");
  return false;
}

// ---- group events (SetupGradeMatch.html) ----
// Group n (its position from 1) has the boxes "bsidz<n>", one per event in
// the order of AllBsListStr, and the read-only list "BsLb<n>" of the ticked
// events' names. While GirlByBoy is ticked the girls' group of a grade
// takes the boys' choice and its table is hidden.

function geBoxes(n) {
  return document.getElementsByName("bsidz" + n);
}

function geRebuild(n) {
  var boxes = geBoxes(n);
  var names = "";
  for (var k = 0; k < boxes.length; k++) {
    if (boxes[k].checked) names += AllBsListStr[k] + ";";
  }
  var list = document.getElementById("BsLb" + n);
  if (list) list.value = names;
}

// Groups n and m are the two sexes of one grade.
function geSameGrade(n, m) {
  return m >= 1 && m <= geGroupGrades.length && n >= 1 && n <= geGroupGrades.length &&
         geGroupGrades[n - 1] == geGroupGrades[m - 1];
}

function geFollowBoys() {
  var box = document.getElementById("GirlByBoy");
  return box != null && box.checked;
}

function geCopyGroup(from, to) {
  var source = geBoxes(from);
  var target = geBoxes(to);
  for (var k = 0; k < source.length && k < target.length; k++) target[k].checked = source[k].checked;
  geRebuild(to);
}

// Hides the girls' groups that follow their grade's boys; a grade without
// boys keeps its girls' group in view.
function geShowGirlTables() {
  var follow = geFollowBoys();
  var tables = document.querySelectorAll("table[name=girljsz]");
  for (var t = 0; t < tables.length; t++) {
    var list = tables[t].querySelector("input[name=BsLb]");
    var n = list ? parseInt(list.id.substring(4), 10) : 0;
    tables[t].style.display = follow && geSameGrade(n, n - 1) ? "none" : "";
  }
}

function HideGirlTable() {
  if (!geFollowBoys()) alert("取消该选项后，您必须分别设置各个年级的男子组与女子组的比赛！");
  geShowGirlTables();
}

// Shows the event boxes of group j only (the list of a group was chosen).
function HideMatchSelect(j) {
  var tables = document.getElementsByName("allbslb");
  for (var i = 0; i < tables.length; i++) tables[i].style.display = i + 1 == j ? "" : "none";
}

// A box of group n was clicked; sg is the group's sex.
function setupbs(n, sg) {
  geRebuild(n);
  if (sg == 1 && geFollowBoys() && geSameGrade(n, n + 1)) geCopyGroup(n, n + 1);
}

// A mixed-team box (position sg from 1) of group n was clicked: the team is
// the grade's boys and girls together, so the group n + gi of the other sex
// (gi -1 or 1; 0 when the grade has one group) takes the same state.
function setupHunTuanbs(n, sg, gi) {
  geRebuild(n);
  if (gi == 1 && geFollowBoys()) geCopyGroup(n, n + 1);
  if (gi != 0) {
    var box = geBoxes(n)[sg - 1];
    var other = geBoxes(n + gi)[sg - 1];
    if (box && other) other.checked = box.checked;
    geRebuild(n + gi);
  }
}

function ChectPostData() {
  var lists = document.getElementsByName("BsLb");
  for (var i = 0; i < lists.length; i++) {
    if (lists[i].value == "") {
      alert("还有竞赛组没安排比赛！");
      lists[i].focus();
      return false;
    }
  }
  // The names are not needed by the server and would only lengthen the post.
  for (var j = 0; j < lists.length; j++) lists[j].value = "";
  document.getElementById("button3").disabled = true;
  var popup = document.getElementById("popupcontent");
  if (popup) popup.style.display = "block";
  document.yform3.submit();
  return true;
}

// ---- school records (ShowTopScore.html) ----
// Each record cell saves itself when Enter is pressed: updatetopcj sends
// grade, event, sex, the typed score and the unit to uptopcj.html, whose
// answer is one digit and the score as the server wrote it; Esc takes the
// shown record back. Cells are numbered 1 .. MaxI.

function tsCell(name, i) {
  return document.getElementById(name + i);
}

function tsTip(i, text, colour) {
  tsCell("TipText", i).innerHTML = '<font color="' + colour + '">' + text + "</font>";
}

function Tselme(i) {
  tsCell("TipText", i).innerHTML = "";
  tsCell("TopScore", i).select();
}

function Tblueme(i) {
  if (tsCell("TipText", i).innerHTML == "" && tsCell("TopScore", i).value != tsCell("OldScore", i).value) {
    tsTip(i, "未保存", "#FF0000");
  }
}

function tsNext(i) {
  var max = parseInt(document.getElementById("MaxI").value, 10);
  if (i < max) {
    tsCell("TopScore", i + 1).focus();
    tsCell("TopScore", i + 1).select();
  } else {
    tsCell("TopScore", i).blur();
  }
}

function Tpanduankey(i) {
  var key = window.event ? window.event.keyCode : 0;
  if (key == 13) {
    if (tsCell("TopScore", i).value == tsCell("OldScore", i).value) {
      tsNext(i);
    } else {
      tsTip(i, "正在保存", "#000099");
      updatetopcj(i);
    }
  } else if (key == 27) {
    tsCell("TopScore", i).value = tsCell("OldScore", i).value;
  }
}

function updatetopcj(i) {
  var query = tsCell("GrdName", i).value + "=" + tsCell("MatchName", i).value + "=" + tsCell("GrdSex", i).value +
      "=" + encodeURIComponent(tsCell("TopScore", i).value) + "=" + encodeURIComponent(tsCell("cjunit", i).value);
  var request = new XMLHttpRequest();
  request.onreadystatechange = function () {
    if (request.readyState != 4) return;
    var reply = request.status == 200 ? request.responseText : "";
    var code = reply.charAt(0);
    if (reply == "" || code < "0" || code > "9") {
      alert("登陆已超时，请重新登陆！");
      window.location.href = "AdminIndex.html";
      return;
    }
    var score = reply.substring(1);
    if (code == "1" || code == "4") {
      tsCell("OldScore", i).value = score;
      tsCell("TopScore", i).value = score;
      tsTip(i, code == "1" ? "已保存" : "记录已删除", "#000099");
      tsNext(i);
      return;
    }
    tsCell("TopScore", i).value = tsCell("OldScore", i).value;
    if (code == "3") {
      tsTip(i, "记录已存在", "#000099");
    } else if (code == "5") {
      tsTip(i, "本运动会创造的纪录，请删除创造该纪录的运动员成绩", "#FF0000");
    } else if (code == "2") {
      tsTip(i, "成绩格式错误", "#FF0000");
    } else {
      tsTip(i, "保存失败", "#FF0000");
    }
  };
  request.open("GET", "uptopcj.html?Dstr=" + query, true);
  request.send(null);
}

// ---- administrative AJAX functions (ajaxfun.html) ----
// Sends one quick change ("f a b c d") and shows the answer in "RetMsg1".
function ajaxfun(str) {
  var request = new XMLHttpRequest();
  request.open("GET", "ajaxfun.html?Dstr=" + str, true);
  request.onreadystatechange = function () {
    if (request.readyState != 4) return;
    document.getElementById("RetMsg1").innerHTML = request.responseText;
  };
  request.send(null);
}
