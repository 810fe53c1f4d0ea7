"""Builds yishu._yishu from the core's own sources (core/src) and the binding
(python/src/module.cpp); the metadata is in pyproject.toml."""
import re
from pathlib import Path

from pybind11.setup_helpers import ParallelCompile, Pybind11Extension
from setuptools import setup

root = Path(__file__).resolve().parent
version = re.search(r"project\(yishu VERSION ([0-9.]+)", (root / "CMakeLists.txt").read_text())[1]
core = sorted(str(p.relative_to(root)) for p in (root / "core/src").glob("*.cpp")
              if p.name != "c_api.cpp")

(root / "build/python").mkdir(parents=True, exist_ok=True)
ParallelCompile("YISHU_BUILD_JOBS", default=2).install()
setup(
    version=".".join(version.split(".")[:3]),
    ext_modules=[Pybind11Extension(
        "yishu._yishu", ["python/src/module.cpp", *core],
        include_dirs=["core/include", "core/src"], cxx_std=20,
        depends=sorted(str(p.relative_to(root)) for p in root.glob("core/*/**/*.h")),
        extra_compile_args=["-O2"])],
    options={"build": {"build_base": "build/python"},
             "egg_info": {"egg_base": "build/python"}},
)
