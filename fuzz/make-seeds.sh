#!/usr/bin/env bash
# Writes the seed corpora, one folder per fuzz target, into OUT, and into OUT/hostile one folder of
# 1 MiB inputs per target, built to catch work that grows faster than the input.
# Usage: make-seeds.sh OUT DBX_SEEDS_PROGRAM PST_SEEDS_PROGRAM
set -euo pipefail
out=$1
dbx_seeds=$2
pst_seeds=$3
megabyte=1048576

seed() { # target name text
    mkdir -p "$out/$1"
    printf '%b' "$3" >"$out/$1/$2"
}

# The text repeated to exactly 1 MiB, with an optional head before it.
hostile() { # target name unit [head]
    local text=$3 head=${4-}
    while ((${#text} < megabyte)); do text=$text$text; done
    mkdir -p "$out/hostile/$1"
    printf '%s%s' "$head" "${text:0:$((megabyte - ${#head}))}" >"$out/hostile/$1/$2"
}

mkdir -p "$out/dbx_conversion" "$out/hostile/dbx_conversion"
"$dbx_seeds" "$out/dbx_conversion"
mkdir -p "$out/outlook_store" "$out/hostile/outlook_store"
"$pst_seeds" "$out/outlook_store"
"$pst_seeds" "$out/hostile/outlook_store" hostile

message='From: Ann <ann@example.com>\r\nTo: Bob\r\nSubject: =?UTF-8?B?w6k=?=\r\nDate: Mon, 1 Jan 2024 10:00:00 +0000\r\n'
seed eml_headers plain.eml "$message\r\nBody\r\n"
seed eml_headers folded.eml "Subject: a\r\n  b\r\nDate:  x \r\nDate: y\r\nFrom:\r\n\r\nTo: late\r\n"
seed eml_headers lf-only.eml "Date: Mon\nFrom: a\n\nbody\n"
seed mime_body plain.eml "${message}Content-Type: text/plain; charset=iso-8859-1\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\ncaf=E9 =\r\nend\r\n"
seed mime_body multipart.eml "${message}MIME-Version: 1.0\r\nContent-Type: multipart/alternative; boundary=\"b\"\r\n\r\n--b\r\nContent-Type: text/html; charset=utf-8\r\nContent-Transfer-Encoding: base64\r\n\r\nPHA+SGk8YnI+dGhlcmU8L3A+\r\n--b\r\nContent-Type: application/pdf\r\nContent-Disposition: attachment; filename=a.pdf\r\n\r\nxx\r\n--b--\r\n"
seed mime_body html-only.eml "${message}Content-Type: text/html\r\n\r\n<p>a&amp;b</p><script>x</script>\r\n"
seed rtf_text plain.rtf '{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\\pard Caf\\'"'"'e9 \\u8364? x\\par\\line y}'
seed rtf_text fromhtml.rtf '{\\rtf1\\ansi\\fromhtml1{\\*\\htmltag64 <p>}a\\htmlrtf b\\htmlrtf0 {\\*\\htmltag <br>}c\\par}'
seed rtf_text picture.rtf '{\\rtf1{\\pict\\pngblip 89504e47}{\\*\\generator x;}text\\bin3 abc\\uc2\\u-3913??}'
seed html_text page.html '<html><head><title>t</title><style>p{}</style></head><body><p>a&nbsp;b &#233;&#xE9;&eacute;</p><pre>  x\n y</pre><ul><li>one<li>two</ul><table><tr><td>c</td></tr></table><!-- c --></body></html>'
seed wine_registry system.reg 'WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21\n\n#arch=win64\n\n[Software\\\\Microsoft\\\\Outlook Express\\\\5.0] 1700000000\n#time=1d9\n"Store Root"=str(2):"%UserProfile%\\\\Mail\\0"\n@="default"\n"Count"=dword:00000010\n"Bin"=hex:01,02,\\\n  03\n"Esc"="a\\"b\\\\c\\x41\\n"\n'
seed command_line simple.txt 'program.exe "a b" c\\\\"d\\"e \\\\\\\\"f g"'
seed command_line quotes.txt '"" """ a\\\\\\"b\t"c'
seed chosen_paths one.txt '/home/ann/Inbox.dbx'
seed chosen_paths several.txt '/home/ann/Mail\0Inbox.dbx\0Sent Items.dbx\0'
seed chosen_paths network.txt '//server/share/\0/a.dbx\0b//c.dbx'
seed settings_file plain.ini '[Quillbarrow]\nOutputFolder=/home/ann/out\nLastStore="a,b"\nWindowWidth=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x18)\n'
seed settings_file lists.ini '[Quillbarrow]\na%2Cb=one, two ,"three"\n[General]\nx=\\xe9\\u00e9\n;comment\n'

hostile eml_headers many-lines.eml 'Date\r\nFrom: \r\n'
hostile eml_headers blanks.eml ' ' 'Subject:'
hostile eml_headers no-line-end.eml 'DateFromToSubject:'
hostile mime_body nested-boundaries.eml $'--a\r\nContent-Type: multipart/mixed; boundary=a\r\n\r\n' $'Content-Type: multipart/mixed; boundary=a\r\n\r\n'
hostile mime_body qp-soft-breaks.eml $'=\r\n' $'Content-Transfer-Encoding: quoted-printable\r\n\r\n'
hostile rtf_text open-groups.rtf '{' '{\rtf1 '
hostile rtf_text skipped-groups.rtf '{\*\x ' '{\rtf1 '
hostile rtf_text backslashes.rtf '\' '{\rtf1 '
hostile rtf_text unicode-skips.rtf '\uc9999\u-1 ' '{\rtf1 '
hostile rtf_text html-tags.rtf '{\*\htmltag <a ' '{\rtf1\fromhtml1 '
hostile html_text open-tags.html '<'
hostile html_text nested.html '<div><pre>'
hostile html_text entities.html '&#x'
hostile html_text comment.html '<!--' 
hostile html_text attributes.html '<a b="' 
hostile wine_registry key-names.reg '\\\\' $'WINE REGISTRY Version 2\n['
hostile wine_registry many-keys.reg $'[a\\\\b]\n"v"=dword:1\n' $'WINE REGISTRY Version 2\n'
hostile wine_registry continued.reg $'\\\n' $'WINE REGISTRY Version 2\n[k]\n"v"=hex:'
hostile wine_registry escapes.reg '\\' $'WINE REGISTRY Version 2\n[k]\n"'
hostile command_line backslashes.txt '\'
hostile command_line quotes.txt '"'
hostile command_line blanks.txt ' '
hostile command_line mixed.txt '\\\"a "'
hostile chosen_paths slashes.txt '/'
hostile chosen_paths names.txt $'/\x01' $'/folder\x01'
hostile settings_file keys.ini $'k=v\n' $'[Quillbarrow]\n'
hostile settings_file sections.ini '['
hostile settings_file escapes.ini '\x' $'[Quillbarrow]\nOutputFolder='
hostile settings_file list.ini ',' $'[Quillbarrow]\nLastStore='

# The 1 MiB DBX images: one message of 1 MiB, and a damaged file of nothing but tree nodes.
head -c $megabyte /dev/zero | tr '\0' 'x' >"$out/hostile/dbx_conversion/body.txt"
"$dbx_seeds" "$out/hostile/dbx_conversion" "$out/hostile/dbx_conversion/body.txt"
rm "$out/hostile/dbx_conversion/body.txt"
