#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The report of grade_class.sh in headless Chromium, opened from the file
# system: every student is listed with each thumbnail (100 x 100) loaded, the table
# sorts by pixels off, and a screenshot of the page is kept beside it.
#   grade_browser.sh REPORT SHOT.png
# Exits 77 (skipped) only when there is no chromium.
set -u
report=$1 shot=$2
chromium=${CHROMIUM:-chromium}
command -v "$chromium" >/dev/null || { echo "no $chromium: skipped"; exit 77; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
flags=(--headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking
       --user-data-dir="$tmp/profile")

# A page beside a copy of the report reads it through a frame: with file
# access allowed, the frame's document is its own.
cp -r "$report" "$tmp/report"
cat >"$tmp/report/check.html" <<'HTML'
<!DOCTYPE html><html><body><pre id="result">not loaded</pre>
<iframe id="report" src="index.html" width="1200" height="800"></iframe>
<script>
document.getElementById('report').addEventListener('load', () => {
  const doc = document.getElementById('report').contentDocument;
  const lines = [];
  for (const row of doc.querySelectorAll('#students tbody tr')) {
    const pictures = [...row.querySelectorAll('img')];
    const shown = pictures.filter((p) => p.complete && p.naturalWidth === 100).length;
    lines.push(`${row.cells[0].textContent}|${row.cells[1].textContent}|${shown}/${pictures.length}`);
  }
  doc.querySelector('button[data-key="off"]').click();
  lines.push('by pixels off: ' + [...doc.querySelectorAll('#students tbody tr')].map((r) => r.dataset.name).join(' '));
  document.getElementById('result').textContent = lines.join('\n');
});
</script></body></html>
HTML
timeout 60 "$chromium" "${flags[@]}" --allow-file-access-from-files --virtual-time-budget=5000 \
  --dump-dom "file://$tmp/report/check.html" 2>/dev/null |
  sed -n '/<pre id="result">/,/<\/pre>/p' | sed -e 's/.*<pre id="result">//' -e 's/<\/pre>.*//' >"$tmp/got"
cat >"$tmp/want" <<'EOF2'
&lt;b&gt;zed&amp;|pass|2/2
alice|pass|2/2
bob|pass|3/3
carol|differs|3/3
dave|error|2/2
erin|time limit|3/3
frank|no main|0/0
gina|unreadable|0/0
hal|differs|3/3
ivy|differs|3/3
jo|pass|2/2
kim_crash|crashed|0/0
lou_stuck|time limit|0/0
max_hinted|error|0/0
ned|unreadable|0/0
oli|unreadable|0/0
by pixels off: &lt;b&gt;zed&amp; alice dave jo bob carol hal ivy erin frank gina kim_crash lou_stuck max_hinted ned oli
EOF2
diff -u "$tmp/want" "$tmp/got" || { echo "FAIL: the page in chromium"; exit 1; }

rm -f "$shot"
timeout 60 "$chromium" "${flags[@]}" --window-size=1280,2400 --screenshot="$shot" \
  "file://$(realpath "$report")/index.html" >/dev/null 2>&1
[ -s "$shot" ] || { echo "FAIL: no screenshot at $shot"; exit 1; }
echo "1 passed, 0 failed (screenshot: $shot)"
