#!/usr/bin/env bash
# Reads the logs the end-to-end shards kept (every category on) for the card
# numbers, track data and passwords they typed: none may appear.
#   log_secrets_test.sh LOGDIR
set -euo pipefail
logs=$1
shopt -s nullglob
files=("$logs"/e2e_tests_*.log)
[ ${#files[@]} -eq 3 ] || { echo "FAIL: expected the logs of three shards in $logs, found ${#files[@]}"; exit 1; }

# The logs hold what the check is about: sales recorded, card charges made
# (the card server's lines and the till's).
for line in 'recorded sale' 'PayByCard member \*\*\*\*0001' 'QueryCard certificate \*\*\*\*' \
  'member card charge \*\*\*\*0001 amount 200.00' 'certificate charge \*\*\*\*' \
  'bank card charge \*\*\*\*0001'; do
  grep -q "$line" "${files[@]}" || { echo "FAIL: no log line matching '$line'"; exit 1; }
done

secrets=(
  8800000001 8800000002 8800000003          # member cards
  7700000001 7700000002 7700000003 7700000004 # welfare certificates
  6222020000000001 6222020000000005         # bank cards
  =25121010000                              # track 2 after the card number
  123456 654321 111111                      # member card passwords
)
status=0
for secret in "${secrets[@]}"; do
  if grep -nF -- "$secret" "${files[@]}"; then
    echo "FAIL: $secret is in the logs"
    status=1
  fi
done
[ $status -eq 0 ] && echo "no card number, track data or password in $(cat "${files[@]}" | wc -l) log lines"
exit $status
