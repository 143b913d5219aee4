// af.js: scripts of the administration pages' forms. The athlete entry
// form: JianCha keeps the ticked events within the group's limits, AddStAn
// sends the form to /AddStudent.html and shows the answer in its place.

function afCountChecked(boxes) {
  var count = 0;
  for (var i = 0; i < boxes.length; i++) {
    if (boxes[i].checked) count++;
  }
  return count;
}

function afStrike(box, struck) {
  var prefix = box.name == "StBcQn" ? "QnBcName" : "DxBcName";
  var label = document.getElementById(prefix + box.value);
  if (label) label.className = struck ? "ShanChuXian" : "NoShanChuXian";
}

// Disables and strikes every unticked box when the athlete has reached the
// limit, enables every named box below it. Returns true when over it.
function afApplyEventLimit(showAlert) {
  var qn = document.getElementsByName("StBcQn");
  var dx = document.getElementsByName("StBcDx");
  var q = afCountChecked(qn);
  var x = afCountChecked(dx);
  var limit;
  var message;
  if (q > 0) {
    limit = parseInt(document.getElementById("QNXBNUM").value, 10);
    message = "本竞赛组全能限报" + limit + "项，您已超出限报，不能再报此项目！";
  } else {
    limit = parseInt(document.getElementById("DxMRXBNUM").value, 10);
    message = "本竞赛组单项每人限报" + limit + "项，您已超过限报，不能再报该项目！";
  }
  if (x + q > limit) {
    if (showAlert) alert(message);
    return true;
  }
  var groups = [qn, dx];
  for (var g = 0; g < groups.length; g++) {
    for (var i = 0; i < groups[g].length; i++) {
      var box = groups[g][i];
      if (x + q == limit) {
        if (!box.checked) {
          box.disabled = true;
          afStrike(box, true);
        }
      } else {
        box.disabled = false;
        afStrike(box, false);
      }
    }
  }
  return false;
}

function JianCha(obj) {
  if (afApplyEventLimit(true)) {
    obj.checked = false;
    afApplyEventLimit(false);
  }
}

function AddStAn() {
  var name = document.getElementById("stname").value.replace(/\s/g, "");
  if (name == "") {
    alert("请输入运动员姓名！");
    return;
  }
  var entries = "";
  var kinds = ["StBcDx", "StBcQn", "StBcHt", "StBcTd"];
  for (var k = 0; k < kinds.length; k++) {
    var boxes = document.getElementsByName(kinds[k]);
    for (var i = 0; i < boxes.length; i++) {
      if (boxes[i].checked) entries += "STBC1=" + boxes[i].value + "&";
    }
  }
  if (entries == "") {
    alert("请选择运动员参加的比赛！");
    return;
  }
  var url = "AddStudent.html?stid=" + document.getElementById("stid").value +
            "&stxb=" + document.getElementById("STSEX").value +
            "&Tname1=" + name +
            "&NjId=" + document.getElementById("NJID").value +
            "&BjId=" + document.getElementById("BJID").value +
            "&" + entries + "an=123";
  var request = new XMLHttpRequest();
  request.open("GET", url, true);
  request.onreadystatechange = function () {
    if (request.readyState != 4) return;
    if (request.status == 200) document.getElementById("gndiv1").innerHTML = request.responseText;
  };
  request.send(null);
}

// ---- join/withdraw after the order book ----
// The join/withdraw table's buttons: after a confirmation the server joins
// (operation 9) or withdraws (8) the athlete, its answer is shown, and the
// table is fetched again (operation 6) in place of the old one.

// GETs getgnstr.html with the Dstr value and hands the answer to done.
function GetGnStr2(dstr, done) {
  var request = new XMLHttpRequest();
  request.open("GET", "getgnstr.html?Dstr=" + dstr, true);
  request.onreadystatechange = function () {
    if (request.readyState != 4) return;
    if (request.status == 200) done(request.responseText);
  };
  request.send(null);
}

// The answer is HTML text; an alert shows it as the user reads it.
function afPlainText(html) {
  return new DOMParser().parseFromString(html, "text/html").body.textContent;
}

function TuiSanAndCanSai(eventId, athleteId, mode, eventName) {
  var question = mode == 1 ? "确定该运动员退出“" + eventName + "”比赛嘛？"
                           : "确定该运动员参加“" + eventName + "”项目的比赛嘛？";
  if (!confirm(question)) return;
  var operation = mode == 1 ? 8 : 9;
  GetGnStr2(operation + "-" + eventId + "-0-0-" + athleteId, function (answer) {
    alert(afPlainText(answer));
    GetGnStr2("6-0-0-0-" + athleteId, function (table) {
      document.getElementById("gndiv1").innerHTML = table;
    });
  });
}

// ---- certificate layout (ViewTable.html?str=5-0-0-0, the preview of Print5.html) ----
// Each press moves one line of the preview by 3 px and saves the new margin
// of the signed-in account at once; the print style sheet then carries it.

function MUpdateJzData(line, which, value) {
  var request = new XMLHttpRequest();
  request.open("GET", "MUpJzDt.html?zjdt=" + line + "-" + which + "-" + value, true);
  request.onreadystatechange = function () {
    if (request.readyState != 4) return;
    if (request.status != 200 || request.responseText != "0")
      alert("服务器保存失败，你的奖状设置没有被更改，请刷新后再试！");
  };
  request.send(null);
}

function MoveZjDiv(line, direction) {
  var div = document.getElementById("jzdiv" + line);
  if (!div) return;
  var style = window.getComputedStyle(div);
  var top = parseInt(style.marginTop, 10) || 0;
  var left = parseInt(style.marginLeft, 10) || 0;
  if (direction == 1) {
    if (top < (line == 1 ? 100 : 20)) { alert("已经移到最顶端了，不能再移了!"); return; }
    top -= 3;
  } else if (direction == 2) {
    if (line == 1 && top > 600) { alert("已经移到最底端了，不能再移了!"); return; }
    if (line != 1 && top > 300) { alert("离得太远了，不能再移了!"); return; }
    top += 3;
  } else if (direction == 3) {
    if (left < 30) { alert("已经移到最左边了，不能再移了!"); return; }
    left -= 3;
  } else if (direction == 4) {
    if (left > 700) { alert("已经移到最右边了，不能再移了!"); return; }
    left += 3;
  } else {
    return;
  }
  if (direction <= 2) {
    div.style.marginTop = top + "px";
    MUpdateJzData(line, 1, top);
  } else {
    div.style.marginLeft = left + "px";
    MUpdateJzData(line, 2, left);
  }
}

// ---- advanced functions and reports (Adft.html, Table.html) ----
// The menus fetch their panels from getgnstr.html into "gndiv1"; the
// panels' buttons change athletes, run the advanced operations of
// gjgn.html (two of them after the administrator's name and password are
// asked again) and step the round settings through ajaxfun.html.

// Fetches the fragment of a Dstr value into gndiv1.
function afShowFragment(dstr) {
  GetGnStr2(dstr, function (html) {
    document.getElementById("gndiv1").innerHTML = html;
  });
}

// Typed text for a query: non-ASCII stays as typed, so the browser sends it
// in the page's own encoding; the characters that would end or change the
// query are escaped (the server then refuses the value).
function afQueryText(text) {
  return text.replace(/[%&#+ ]/g, function (c) {
    return "%" + c.charCodeAt(0).toString(16).toUpperCase();
  });
}

function GetGnStr(n) {
  afShowFragment(n + "-0-0-0-0");
}

// The add-athlete panel of the class and sex chosen in "jsz".
function AddStCh() {
  afShowFragment("2-" + document.getElementById("jsz").value);
}

function findst1() {
  var text = document.getElementById("ststr").value.replace(/\s/g, "");
  afShowFragment("4-0-0-0-0-" + afQueryText(text));
}

function SaveStInfo(id) {
  var name = document.getElementById("stname").value.replace(/\s/g, "");
  var number = document.getElementById("sthaoma").value.replace(/\s/g, "");
  if (name == "") {
    alert("请输入运动员姓名！");
    return;
  }
  if (number == "") {
    alert("请输入运动员号码！");
    return;
  }
  if (name == document.getElementById("oldname").value && number == document.getElementById("oldhaoma").value) {
    alert("请修改运动员信息后再保存修改！");
    return;
  }
  afShowFragment("7-0-0-0-" + id + "-" + afQueryText(name) + "-" + afQueryText(number));
}

// A box over the page (the wait note, the credentials form).
function afShowBox(html) {
  var box = document.getElementById("afBox");
  if (!box) {
    box = document.createElement("div");
    box.id = "afBox";
    box.style.cssText = "position:fixed;left:20%;top:20%;width:60%;padding:10px;background:#FFF;" +
                        "border:2px solid #369;text-align:center;z-index:100;";
    document.body.appendChild(box);
  }
  box.innerHTML = html;
  box.style.display = "";
}

function afHideBox() {
  var box = document.getElementById("afBox");
  if (box) box.style.display = "none";
}

// What the page does with the answer of an advanced operation.
var afOperationAnswers = {
  "0": ["提交的数据有不正确，请重新登陆！", "AdminIndex.html"],
  "1": ["模拟报名完成，请进行运动会日程安排！", "MatchPlan.html"],
  "2": ["模拟报名完成，且已完成日程安排，请及时关闭报名，并生成运动会秩序册。", "BookControl.html"],
  "3": ["发现已有运动员报名，请删除已有的运动员报名，再进行模拟报名！", ""],
  "4": ["比赛设置未完成，请完成比赛设置，再进行模拟报名！", "SetupMeet.html"],
  "5": ["运动会尚未建立，请新建一个运动会！", "SetupMeet.html"],
  "6": ["所有运动员分道分道数据与号码已被删除！", ""],
  "7": ["发现已有运动员成绩，无法删除数据，请删除运动员成绩后操作！", ""],
  "8": ["重排号码已完成，请重新生成秩序册，然后下载即可！", ""],
  "9": ["重排号码失败！", ""],
  "10": ["模拟报名数据已经全部删除，请重新开始报名。", ""],
  "11": ["模拟报名数据失败，因为发现了不是通过模拟报名的运动员数据！", ""]
};

function afRunOperation(operation, name, password, second) {
  var request = new XMLHttpRequest();
  request.open("GET", "gjgn.html?str1=" + afQueryText(name) + "&str2=" + afQueryText(password) +
               "&str3=" + operation + "&str4=" + second, true);
  request.onreadystatechange = function () {
    if (request.readyState != 4) return;
    var answer = request.responseText;
    if (request.status != 200 || !/^\d+$/.test(answer)) {
      alert("系统错误，请退出后重新登陆！");
      window.location.href = "Admin.html";
      return;
    }
    var action = afOperationAnswers[answer];
    if (!action) {
      alert("未知错误，系统没有正确回应，请重新登陆。");
      window.location.href = "/";
      return;
    }
    if (action[1] == "") afHideBox();
    alert(action[0]);
    if (action[1] != "") window.location.href = action[1];
  };
  request.send(null);
}

function afWait() {
  afShowBox("<br /><h1>正在处理，请稍候……</h1><br /><h1>根据您的运动会规模，大概需要花费10到30秒的时间，请耐心等待！</h1>");
}

function mybmfn() {
  afWait();
  afRunOperation(1, "vexil", "vexil", 0);
}

function DelAtBmfn() {
  afWait();
  afRunOperation(3, "vexil", "vexil", 0);
}

// The administrator's name and password, asked again before an operation
// on real data.
function afAskCredentials(operation) {
  afShowBox("<p>请输入管理员的用户名及密码：</p>" +
            "<p>用户名：<input type=\"text\" id=\"adminname\" size=\"20\" /></p>" +
            "<p>密&nbsp;&nbsp;码：<input type=\"password\" id=\"adminpass\" size=\"20\" /></p>" +
            "<p><input type=\"button\" id=\"afOk\" value=\"确定\" /> " +
            "<input type=\"button\" id=\"afCancel\" value=\"取消\" /></p>");
  document.getElementById("afCancel").onclick = afHideBox;
  document.getElementById("afOk").onclick = function () {
    var name = document.getElementById("adminname").value.replace(/\s/g, "");
    var password = document.getElementById("adminpass").value.replace(/\s/g, "");
    if (name == "" || password == "") {
      alert("请输入用户名及密码！");
      return;
    }
    afWait();
    afRunOperation(operation, name, password, 2);
  };
}

function mydelfzfdhm() {
  afAskCredentials(10);
}

function mycphm() {
  afAskCredentials(11);
}

// Round settings: the answer "element-value" shows the stored count.
function changeBSSJ(operation, contestId, elementId) {
  var request = new XMLHttpRequest();
  request.open("GET", "ajaxfun.html?Dstr=" + operation + "%20" + contestId + "%20" + elementId + "%200%200", true);
  request.onreadystatechange = function () {
    if (request.readyState != 4) return;
    var parts = request.responseText.split("-");
    if (request.status != 200 || parts.length != 2) {
      alert("请重新登陆！");
      window.location.href = "AdminIndex.html";
      return;
    }
    document.getElementById(parts[0]).innerHTML = parts[1];
  };
  request.send(null);
}

function changeBsFz(row, contestId) {
  var scheme = document.getElementById("fzC" + row).value;
  var request = new XMLHttpRequest();
  request.open("GET", "ajaxfun.html?Dstr=15%20" + scheme + "%20" + contestId + "%200%200", true);
  request.onreadystatechange = function () {
    if (request.readyState != 4) return;
    if (request.status != 200 || request.responseText == "error") {
      alert("请重新登陆！");
      window.location.href = "AdminIndex.html";
      return;
    }
    alert(afPlainText(request.responseText));
  };
  request.send(null);
}
