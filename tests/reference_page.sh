#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# write_reference reads two help files as the window does and writes the
# page exactly: escaped text, joined prose, examples kept line by line.
#   reference_page.sh WRITE_REFERENCE
set -euo pipefail
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf 'before any topic\n= Colours & <palette>\nSet a "colour"   \n\twith setcolor.\n\nA second\nparagraph:\n  main()\n    {}\nAfter.\n' >"$dir/help.txt"
printf '= Messages\r\n"division by zero": x < 0\r\n' >"$dir/messages.txt"
"$tool" "$dir/out.html" "$dir/help.txt" "$dir/messages.txt"
expected='<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Korvane Help</title>
<style>
body { max-width: 46em; margin: 2em auto; padding: 0 1em; font-family: sans-serif; line-height: 1.4; }
pre { background: #f4f4f4; padding: 0.5em; overflow-x: auto; }
@media print { nav { break-after: page; } h2 { break-after: avoid; } pre { break-inside: avoid; } }
</style>
</head>
<body>
<h1>Korvane Help</h1>
<nav>
<ol>
<li><a href="#topic-1">Colours &amp; &lt;palette&gt;</a></li>
<li><a href="#topic-2">Messages</a></li>
</ol>
</nav>
<section id="topic-1">
<h2>Colours &amp; &lt;palette&gt;</h2>
<p>Set a &quot;colour&quot; with setcolor.</p>
<p>A second paragraph:</p>
<pre>  main()
    {}</pre>
<p>After.</p>
</section>
<section id="topic-2">
<h2>Messages</h2>
<p>&quot;division by zero&quot;: x &lt; 0</p>
</section>
</body>
</html>'
diff <(printf '%s\n' "$expected") "$dir/out.html"
# A help file that cannot be read is named, and no page is written.
status=0
said=$("$tool" "$dir/new.html" "$dir/help.txt" "$dir/missing.txt" 2>&1) || status=$?
[ "$status" = 3 ] && [ "$said" = "Cannot open file $dir/missing.txt" ] && [ ! -e "$dir/new.html" ]
