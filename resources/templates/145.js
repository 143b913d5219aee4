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
