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
