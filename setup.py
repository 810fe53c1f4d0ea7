"""Builds yishu._yishu from the core's own sources (core/src) and the binding
(python/src/module.cpp); the metadata is in pyproject.toml."""
import re
from pathlib import Path

from pybind11.setup_helpers import ParallelCompile, Pybind11Extension
from setuptools import setup

root = Path(__file__).resolve().parent
version = re.search(r"project\(yishu VERSION ([0-9.]+)", (root / "CMakeLists.txt").read_text())[1]
# The engine's sources as core/CMakeLists.txt lists them (the C interface
# aside), and its private headers.
listed = re.search(r"set\(engine_sources(.*?)\)", (root / "core/CMakeLists.txt").read_text(), re.S)[1]
core = ["core/" + name for name in listed.split() if name != "src/c_api.cpp"]
include_dirs = ["core/include"] + [d for d in ("core/src", "core/internal") if (root / d).is_dir()]

(root / "build/python").mkdir(parents=True, exist_ok=True)
ParallelCompile("YISHU_BUILD_JOBS", default=2).install()
setup(
    version=".".join(version.split(".")[:3]),
    ext_modules=[Pybind11Extension(
        "yishu._yishu", ["python/src/module.cpp", *core],
        include_dirs=include_dirs, cxx_std=20,
        depends=sorted(str(p.relative_to(root)) for p in root.glob("core/*/**/*.h")),
        extra_compile_args=["-O2"])],
    options={"build": {"build_base": "build/python"},
             "egg_info": {"egg_base": "build/python"}},
)
