#!/usr/bin/env bash
# check-layers.sh <build dir> <probe targets> <header:outcome per target>
set -u
build=$1
read -r -a targets <<<"${2//;/ }"
read -r -a expected <<<"${3//;/ }"
status=0
for i in "${!targets[@]}"; do
    header=${expected[$i]%:*}
    outcome=${expected[$i]##*:}
    output=$(cmake --build "$build" --target "${targets[$i]}" 2>&1)
    built=$?
    if [[ $outcome == found && $built -ne 0 ]]; then
        echo "FAIL ${targets[$i]}: $header should be reachable"; echo "$output"; status=1
    elif [[ $outcome == missing ]] && ! grep -q "$header: No such file" <<<"$output"; then
        echo "FAIL ${targets[$i]}: $header should be out of reach"; echo "$output"; status=1
    else
        echo "ok   ${targets[$i]}"
    fi
done
exit $status
