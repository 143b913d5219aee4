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
