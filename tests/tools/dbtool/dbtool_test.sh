#!/usr/bin/env bash
# dbtool end to end: create, append a CSV with Polish letters, index, seek, dump, check; then a
# damaged index must fail the check with a message naming it.
set -u
DBTOOL=$(realpath "${1:?usage: dbtool_test.sh path/to/dbtool}")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"

fail() { echo "FAIL: $*" >&2; exit 1; }
# run CODE CMD...: runs dbtool, keeps its output in out/err, and checks the exit code.
run() {
  local want=$1; shift
  "$DBTOOL" "$@" >out 2>err
  local got=$?
  [ "$got" -eq "$want" ] || { cat out err >&2; fail "dbtool $* exited $got, not $want"; }
}
has() { grep -qF -- "$1" "${2:-out}" || { cat "${2:-out}" >&2; fail "no \"$1\" in ${2:-out}"; }; }

run 0 create as.dbf "MAG       ,C,  1,  0,INDEKS    ,C,  8,  0,NAZWA     ,C, 30,  0,ILOSC     ,N, 19,  3,DATA      ,D,  8,  0"
run 3 create as.dbf "X,C,1,0"
has "already exists" err
run 3 create bad.dbf "X,Q,1,0"
has 'item 2 "Q"' err

cat > rows.csv <<'CSV'
MAG,INDEKS,NAZWA,ILOSC,DATA
1,MAKA,"Mąka pszenna, typ 450",10.5,20240131
1,CUKIER,"Cukier ""Kryształ""",2,31.01.2024
2,ZOLW,Żółw,-1,
CSV
run 0 append as.dbf rows.csv
has "appended 3 records"
printf 'MAG,INDEKS,DATA\n3,X,20240101\n3,Y,31.02.2024\n' > bad.csv
run 3 append as.dbf bad.csv
has "bad.csv line 3: DATA" err
python3 - <<'PY' || fail "the table does not hold code page 852 text"
data = open("as.dbf", "rb").read()
assert "Mąka pszenna, typ 450".encode("cp852") in data
assert 'Cukier "Kryształ"'.encode("cp852") in data
assert data[4] == 3, "three records, the bad file added none"
PY

run 0 index as.dbf as.ntx "mag+indeks"
has 'key "mag+indeks"'
run 0 seek as.dbf as.ntx 1MAKA
has "Mąka pszenna, typ 450"
has "31.01.2024"
run 1 seek as.dbf as.ntx 3X
has 'no record has the key "3X"'

run 0 dump as.dbf --index as.ntx
[ "$(sed -n '2p;3p;4p' out | cut -c12-21 | tr -d ' ')" = "$(printf '1CUKIER\n1MAKA\n2ZOLW')" ] || { cat out >&2; fail "dump is not in index order"; }
has 'Cukier "Kryształ"'
has "Żółw"
run 0 info as.dbf
has "records    3"
has "code page 852"

run 0 check as.dbf as.ntx
has "as.ntx: ok"

# Change one key inside the index (same length, still in order): the check must see it.
python3 - <<'PY'
data = bytearray(open("as.ntx", "rb").read())
at = data.find(b"1MAKA   ")
assert at > 0
data[at:at + 5] = b"1MAKB"
open("as.ntx", "wb").write(data)
PY
run 1 check as.dbf as.ntx
has "check failed: as.ntx" err
has "stale key" err

# A truncated table is reported, not crashed on.
head -c 200 as.dbf > cut.dbf
run 3 check cut.dbf
has "cut.dbf" err
echo "dbtool end to end: ok"
