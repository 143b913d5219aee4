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
