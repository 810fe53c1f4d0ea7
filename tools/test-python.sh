#!/bin/sh
# Installs the Python module yishu from this tree into a virtual environment
# of Debian's Python (build/python-venv, with Debian's pybind11, setuptools
# and pytest seen through --system-site-packages), offline, as a user would
# with `pip install --no-build-isolation .`, then runs its tests there.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
venv=$root/build/python-venv
python=/usr/bin/python3
[ -x "$venv/bin/python" ] || "$python" -m venv --system-site-packages "$venv"
"$venv/bin/python" -m pip install --quiet --no-build-isolation --no-index --no-deps \
  --disable-pip-version-check "$root"
# From elsewhere, so that the tests import the installed module, not python/yishu.
cd "$venv"
exec "$venv/bin/python" -m pytest -q -p no:cacheprovider "$root/python/tests" "$@"
