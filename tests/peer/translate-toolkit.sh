#!/usr/bin/env bash
# translate-toolkit as an independent peer for TBX v2: a glossary its Python API writes must
# import into termix-cli term for term, and termix-cli's tbx-v2 export must read back in
# translate-toolkit term for term and convert with its tbx2po.
# Usage: translate-toolkit.sh TERMIX_CLI
set -euo pipefail
cli=${1:?termix-cli}
py=/usr/bin/python3
if ! "$py" -c 'import translate.storage.tbx' 2>/dev/null || ! command -v tbx2po >/dev/null; then
    if [[ ${CI:-} == true ]]; then
        echo "translate-toolkit is not installed (scripts/setup.sh installs it)" >&2
        exit 1
    fi
    echo "skipped: translate-toolkit is not installed"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# 1. translate-toolkit writes, termix-cli reads. Two English terms of one concept, markup
#    characters, a line break in a note, a German langSet that Termix passes over.
"$py" - "$work/peer.tbx" <<'PY'
import sys
from lxml import etree
from translate.misc.xml_helpers import setXMLlang
from translate.storage import tbx

store = tbx.tbxfile(sourcelanguage="en", targetlanguage="zh-CN")
for source, target, note in [
    ("use case", "用例", "描述系统与参与者之间的一次交互"),
    ("A & B <x>", "甲与乙", ""),
    ("state machine", "状态机", "第一行\n第二行"),
]:
    unit = store.addsourceunit(source)
    unit.settarget(target, lang="zh-CN")
    if note:
        unit.addnote(note)
unit = store.addsourceunit("actor")
unit.settarget("参与者", lang="zh-CN")
german = etree.SubElement(unit.xmlelement, "langSet")
setXMLlang(german, "de")
etree.SubElement(etree.SubElement(german, "tig"), "term").text = "Akteur"
store.savefile(sys.argv[1])
PY
: >"$work/in.termix"
"$cli" --file "$work/in.termix" import --format tbx "$work/peer.tbx" 2>"$work/import.err" ||
    fail "termix-cli refused translate-toolkit's TBX: $(cat "$work/import.err")"
grep -q "terms in other languages not read: 1 (de 1)" "$work/import.err" ||
    fail "the German term is not counted: $(cat "$work/import.err")"
expected=$'A & B <x>\t甲与乙\nactor\t参与者\nstate machine\t状态机\nuse case\t用例'
[[ $("$cli" --file "$work/in.termix" all) == "$expected" ]] ||
    fail "imported terms differ: $("$cli" --file "$work/in.termix" all)"
[[ $("$cli" --file "$work/in.termix" show "use case") == *"explanation: 描述系统与参与者之间的一次交互" ]] ||
    fail "the note is not the explanation"

# 2. termix-cli writes tbx-v2, translate-toolkit reads it term for term.
"$cli" --file "$work/in.termix" add "Line break" "换行" $'甲\r\n乙' >/dev/null
"$cli" --file "$work/in.termix" export --format tbx-v2 --output "$work/ours.tbx"
"$py" - "$work/ours.tbx" >"$work/peer-read.txt" <<'PY'
import sys
from translate.storage import tbx

with open(sys.argv[1], "rb") as f:
    store = tbx.tbxfile(f.read())
for unit in store.units:
    print(unit.source + "\t" + unit.target)
PY
"$cli" --file "$work/in.termix" all >"$work/ours.txt"
diff "$work/ours.txt" "$work/peer-read.txt" >&2 || fail "translate-toolkit reads other terms"

# 3. tbx2po converts the export: one message per term, the meaning as its translation.
tbx2po "$work/ours.tbx" "$work/ours.po" >/dev/null 2>&1 || fail "tbx2po failed"
grep -q '^msgid "use case"$' "$work/ours.po" || fail "tbx2po lost a term"
grep -q '^msgstr "用例"$' "$work/ours.po" || fail "tbx2po lost a meaning"
[[ $(grep -c '^msgid "[^"]' "$work/ours.po") == $(wc -l <"$work/ours.txt") ]] ||
    fail "tbx2po wrote $(grep -c '^msgid "[^"]' "$work/ours.po") messages for $(wc -l <"$work/ours.txt") terms"
echo "translate-toolkit and termix-cli agree on $(wc -l <"$work/ours.txt") terms"
