#!/usr/bin/env bash
# Runs termix-cli.exe (under wine) and the Linux termix-cli on the same files and requires the
# same stdout, stderr, exit code and resulting files, byte for byte. Every case runs in a fresh
# folder of its own with relative paths, so the two programs see and print the same names.
# Usage: scripts/compare-windows-cli.sh LINUX_BIN_DIR WINDOWS_BIN_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
linux_bin=$(cd "$1" && pwd)
windows_bin=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8  # wine reads the arguments in the locale's character set

cmp "$linux_bin/Termix.CGlossary.termix" "$windows_bin/Termix.CGlossary.termix"
cmp "$linux_bin/readme.txt" "$windows_bin/readme.txt"

# The files every case starts from: the bundled glossary, a source with a Chinese term added, a
# damaged copy with a fixed time stamp (it names the copy made aside), and a non-ASCII folder.
fixtures=$work/fixtures
mkdir -p "$fixtures/术语 björn"
cp "$linux_bin/Termix.CGlossary.termix" "$fixtures/g.termix"
cp "$linux_bin/Termix.CGlossary.termix" "$fixtures/术语 björn/g.termix"
{ cat "$root/data/glossary.tsv"; printf '用例图\t用例图\t参与者与用例之间的关系。\\n第二行\n'; } \
  >"$fixtures/extra.tsv"
head -c 20000 "$linux_bin/Termix.CGlossary.termix" >"$fixtures/damaged.termix"
printf '0042#broken' >>"$fixtures/damaged.termix"
touch -d '2024-05-06 07:08:09' "$fixtures/damaged.termix"

failures=0
run_case() {
  local name=$1
  shift
  for side in linux windows; do
    local dir=$work/$side/$name
    mkdir -p "$dir"
    cp -a "$fixtures/." "$dir/"
    local status=0
    if [[ $side == linux ]]; then
      (cd "$dir" && "$linux_bin/termix-cli" "$@" >"$work/$side/$name.out" 2>"$work/$side/$name.err") ||
        status=$?
    else
      (cd "$dir" && "$root/cmake/wine-run.sh" "$windows_bin/termix-cli.exe" "$@" \
        >"$work/$side/$name.out" 2>"$work/$side/$name.err") || status=$?
    fi
    echo "$status" >"$work/$side/$name.code"
    (cd "$dir" && find . -type f -print0 | sort -z | xargs -0 sha256sum) >"$work/$side/$name.files"
  done
  local same=1
  for part in out err code files; do
    if ! cmp -s "$work/linux/$name.$part" "$work/windows/$name.$part"; then
      echo "FAIL $name: $part differs"
      diff <(od -c "$work/linux/$name.$part") <(od -c "$work/windows/$name.$part") | head -20 || true
      same=0
    fi
  done
  if ((same)); then
    echo "ok   $name (exit $(cat "$work/linux/$name.code"))"
  else
    failures=$((failures + 1))
  fi
}

run_case all --file g.termix all
run_case letter --file g.termix letter u
run_case nonletter --file g.termix nonletter
run_case search-ascii --file g.termix search CASE
run_case search-none --file g.termix search 没有这个词
run_case show-explanation --file g.termix show UML
run_case import-chinese import extra.tsv out.termix
run_case check-damaged --file damaged.termix check
run_case search-damaged --file damaged.termix search class
run_case non-ascii-file --file "术语 björn/g.termix" search case
run_case missing-file --file 不存在.termix all
run_case folder-as-file --file "术语 björn" all
run_case usage
run_case unknown-command --file g.termix frobnicate

# A Chinese term, looked up in a glossary built by each program from the same source.
for side in linux windows; do
  cp "$work/$side/import-chinese/out.termix" "$fixtures/with-chinese-$side.termix"
done
cmp "$fixtures/with-chinese-linux.termix" "$fixtures/with-chinese-windows.termix"
mv "$fixtures/with-chinese-linux.termix" "$fixtures/with-chinese.termix"
rm "$fixtures/with-chinese-windows.termix"
run_case show-chinese --file with-chinese.termix show 用例图
run_case search-chinese --file with-chinese.termix search 用例

# Without --file each program reads the glossary beside itself, here in a non-ASCII folder.
for side in linux windows; do
  mkdir -p "$work/exe-$side/程序 björn"
  cp "$linux_bin/Termix.CGlossary.termix" "$work/exe-$side/程序 björn/"
done
cp "$linux_bin/termix-cli" "$work/exe-linux/程序 björn/"
cp "$windows_bin/termix-cli.exe" "$work/exe-windows/程序 björn/"
linux_bin="$work/exe-linux/程序 björn"
windows_bin="$work/exe-windows/程序 björn"
run_case beside-the-program search diagram

if ((failures)); then
  echo "termix-cli.exe and termix-cli differ in $failures case(s)"
  exit 1
fi
echo "termix-cli.exe prints the same bytes as termix-cli in every case"
