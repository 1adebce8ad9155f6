#!/usr/bin/env python3
"""Generate a realistic thread index (threads.db5) of any size, deterministically.

The output is a UTF-8 text file with two lines per thread: the thread's title, then its link.
Titles imitate a Chinese technical forum: Chinese text mixed with Latin product names and
versions ("Python 3.12 入门教程 完整版", "[原创] Photoshop 2024 插件合集"), some purely
Chinese, a few purely English, full-width punctuation (【】（）！？：，) and now and then an
emoji outside the Basic Multilingual Plane. Links point at example.com, example.org and
example.net only, e.g. https://bbs.example.com/thread-123456-1-1.html.

The mix is tuned so that searches over it are meaningful. Over a large index, roughly:

    python  (Python, python, PYTHON, MicroPython, ...)   5 % of titles
    Windows (Windows 11, windows, WINDOWS 11, ...)       4 % of titles
    破解                                                 3 % of titles
    教程                                                 6 % of titles
    zzqxj                                                never

Near misses (Win11, PyCharm, PyTorch) make a matcher look past partial matches. Titles come
from fixed vocabularies and links have only fixed words besides their numbers, so none of the
words above ever occurs in a link line. A record averages about 88 bytes (36 for the title,
52 for the link, each with its line end), so 1,000,000 threads make a file of about 88 MB and
take a few seconds to write.

The same --seed and --threads always give the same bytes (random.Random is stable across
Python versions for the calls used here).

Examples:
    tools/generate_index.py --threads 300 --seed 1 --crlf examples/threads.db5
    tools/generate_index.py --threads 1000000 bench/data/threads-1m.db5
"""

import argparse
import random
import sys

RECORDS_PER_CHUNK = 20_000


def weighted(*groups):
    """Flattens (weight, items) groups into one list in which each item appears `weight`
    times, so that rng.choice() draws with those weights at the cost of a single call."""
    return [item for weight, items in groups for item in items for _ in range(weight)]


# Latin product names, with and without versions. The groups that contain the benchmark
# words carry their own weights so that their share of all titles stays predictable.
PRODUCTS = weighted(
    (6, ["Python 3.12", "Python 3.11", "Python", "python", "Python3", "python 3.10"]),
    (2, ["PYTHON", "MicroPython", "Python 2.7", "CPython"]),
    (6, ["Windows 11", "Windows 10", "Windows", "windows 10", "Windows 7"]),
    (2, ["WINDOWS 11", "Windows Server 2022", "Windows XP", "windows"]),
    (6, ["Win11", "Win10", "PyCharm", "PyTorch", "Pandas", "NumPy", "Jupyter", "Anaconda"]),
    (10, [
        "Photoshop 2024", "Photoshop CC", "Office 2021", "Office 365", "Excel", "Word", "WPS",
        "VS Code", "Visual Studio 2022", "IDEA 2023", "Eclipse", "Vim", "Emacs", "Git",
        "Linux", "Ubuntu 22.04", "Ubuntu 24.04", "Debian 12", "CentOS 7", "Arch Linux",
        "Docker", "Kubernetes", "Nginx", "MySQL 8.0", "Redis", "PostgreSQL 16", "MongoDB",
        "Java 17", "JDK 21", "Go 1.22", "Rust", "C++", "C#", ".NET 8", "Node.js 20",
        "Vue 3", "React 18", "Spring Boot", "Android 14", "iOS 17", "macOS", "AutoCAD 2024",
        "Premiere Pro", "After Effects", "Blender 4.0", "Unity 2022", "MATLAB R2023b",
        "STM32", "Arduino", "OpenCV", "TensorFlow", "Chrome", "Firefox", "Steam", "Minecraft",
        "Excel VBA", "LaTeX", "Markdown", "Shell", "PowerShell", "FFmpeg", "OBS", "Qt 6",
    ]),
)

# What a thread is about, after the product name.
TOPICS = weighted(
    (8, ["入门教程", "视频教程", "图文教程", "教程合集", "零基础教程", "中文教程"]),
    (6, ["破解版", "破解补丁", "免破解版", "破解教程", "激活破解"]),
    (20, [
        "学习笔记", "使用心得", "配置分享", "安装指南", "常见问题汇总", "性能优化", "源码分析",
        "实战项目", "面试题整理", "踩坑记录", "调试笔记", "插件合集", "激活工具", "绿色版",
        "汉化版", "便携版", "中文版", "官方下载", "离线安装包", "快捷键大全", "疑难解答",
        "驱动下载", "美化主题", "系统优化", "新功能体验", "升级记录", "环境搭建", "备份方案",
        "脚本分享", "资源整理", "速查手册", "开发日志", "技巧总结", "对比评测", "迁移经验",
    ]),
)

# Said before the topic: "Python 3.12 超详细入门教程".
QUALIFIERS = ["超详细", "保姆级", "从零开始的", "小白也能看懂的", "2024最新", "手把手", "一文搞懂",
              "个人整理的", "超全", "实用", "高级", "进阶"]

TAGS = ["[原创]", "[分享]", "[转载]", "[求助]", "【原创】", "【分享】", "【精华】", "【置顶】",
        "[讨论]", "[已解决]", "【求助】", "[公告]"]

SUFFIXES = ["完整版", "(含快捷键)", "（含源码）", "（附下载）", "附下载地址", "持续更新",
            "！", "！！", "？", "～", "2024版", "最新版", "（已更新）", "- 新手必看",
            "(亲测可用)", "【收藏】", "...", "（二）", "（三）", "第1篇", "第2篇"]

VERSIONS = ["v1.0", "v2.3", "v3.1.4", "V5.2", "v10.0.19045", "2024.1", "1.2.0 beta",
            "v0.9", "8.6", "v4.2.1"]

EMOJI = ["🔥", "👍", "😀", "🎉", "💡", "✅", "🚀", "😂", "⭐", "📌"]

QUESTIONS = [
    ("请问", "安装后打不开怎么办？"), ("求助：", "报错怎么解决"), ("", "运行很慢，求大神指点"),
    ("新手提问：", "怎么设置中文？"), ("", "和旧版本有什么区别？"), ("急！", "启动闪退"),
    ("", "升级后蓝屏了怎么回事"), ("请教一下，", "哪个版本最稳定？"),
    ("", "破解版无法激活怎么办？"), ("求", "的视频教程"),
]

# Purely Chinese titles: templates filled with a story or a thing.
CHINESE_TEMPLATES = weighted(
    (3, ["分享一下{story}", "记录一下{story}", "聊聊{story}", "晒晒{story}", "说说{story}",
         "求推荐一款{thing}", "有没有好用的{thing}？", "{thing}怎么选？", "{thing}选购指南",
         "二手{thing}出售，价格可议", "算法刷题打卡第{day}天", "大家平时用什么{thing}？",
         "第一次用{thing}，有点激动"]),
    (1, ["新人报到，请多关照", "关于论坛规则的公告", "今天去爬山了，风景不错", "周末摄影作品分享",
         "毕业设计选题求建议", "数据结构复习提纲", "电脑清灰步骤"]),
)

CHINESE_STORIES = [
    "我的装机配置单", "最近的读书笔记", "跑步一年的变化", "自己写的小工具", "周末拍的照片",
    "学吉他的心得", "养猫日记", "硬盘数据恢复经历", "考研经验（附资料）", "五天四夜的旅行攻略",
    "租房踩过的坑", "家常菜做法教程", "换工作的经历", "搬家整理的清单",
]

CHINESE_THINGS = [
    "笔记软件", "机械键盘", "显示器", "路由器", "入门书籍", "蓝牙音箱", "降噪耳机", "移动硬盘",
    "显卡", "输入法", "截图工具", "云盘",
]

CHINESE_ENDINGS = ["", "", "", "！", "～", "…", "（图多）", "【多图】"]

ENGLISH_TITLES = [
    "How to fix pip install errors", "Best free tools for {year}", "Linux kernel debugging notes",
    "Windows update stuck at 99%", "Python tips and tricks", "My dotfiles, finally cleaned up",
    "Question about Docker networking", "Benchmark: SSD vs HDD", "Weekly links #{number}",
    "Rust ownership explained", "Getting started with Git", "WINDOWS TERMINAL setup guide",
    "Notes on PYTHON packaging", "Release notes {version}", "Help: build fails on CentOS 7",
]

LINK_FORMATS = weighted(
    (6, ["https://bbs.example.com/thread-{id}-1-1.html"]),
    (1, ["https://bbs.example.com/thread-{id}-{page}-1.html"]),
    (2, ["https://forum.example.org/forum.php?mod=viewthread&tid={id}&extra=page%3D{page}"]),
    (1, ["https://www.example.net/t/{id}", "http://bbs.example.net/read.php?tid={id}&page={page}"]),
)


def tech_title(rng):
    parts = []
    if rng.random() < 0.35:
        parts.append(rng.choice(TAGS))
    product = rng.choice(PRODUCTS)
    parts.append(product)
    if not product[-1].isdigit() and rng.random() < 0.2:
        parts.append(rng.choice(VERSIONS))
    topic = rng.choice(TOPICS)
    parts.append(rng.choice(QUALIFIERS) + topic if rng.random() < 0.4 else topic)
    if rng.random() < 0.5:
        parts.append(rng.choice(SUFFIXES))
    return " ".join(parts)


def question_title(rng):
    prefix, question = rng.choice(QUESTIONS)
    return f"{prefix}{rng.choice(PRODUCTS)} {question}"


def chinese_title(rng):
    tag = rng.choice(TAGS) if rng.random() < 0.2 else ""
    text = rng.choice(CHINESE_TEMPLATES).format(
        story=rng.choice(CHINESE_STORIES), thing=rng.choice(CHINESE_THINGS),
        day=rng.randint(1, 365))
    if not text.endswith("？"):
        text += rng.choice(CHINESE_ENDINGS)
    return tag + text


def english_title(rng):
    return rng.choice(ENGLISH_TITLES).format(
        year=rng.randint(2019, 2025), number=rng.randint(1, 300), version=rng.choice(VERSIONS))


TITLE_KINDS = weighted((12, [tech_title]), (2, [question_title]), (5, [chinese_title]),
                       (1, [english_title]))


def make_title(rng):
    title = rng.choice(TITLE_KINDS)(rng)
    if rng.random() < 0.03:
        title += " " + rng.choice(EMOJI)
    return title


def generate(out, threads, seed, newline):
    rng = random.Random(seed)
    thread_id = rng.randint(100_000, 400_000)
    written = 0
    while written < threads:
        lines = []
        for _ in range(min(RECORDS_PER_CHUNK, threads - written)):
            thread_id += rng.randint(1, 9)
            lines.append(make_title(rng))
            lines.append(rng.choice(LINK_FORMATS).format(id=thread_id, page=rng.randint(1, 5)))
        written += len(lines) // 2
        out.write((newline.join(lines) + newline).encode("utf-8"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("output", help="file to write (overwritten)")
    parser.add_argument("--threads", type=int, default=1_000_000,
                        help="number of threads (title and link pairs), default 1000000")
    parser.add_argument("--seed", type=int, default=1, help="random seed, default 1")
    parser.add_argument("--crlf", action="store_true", help="end lines with CR LF instead of LF")
    args = parser.parse_args()
    if args.threads < 0:
        parser.error("--threads must not be negative")
    with open(args.output, "wb") as out:
        generate(out, args.threads, args.seed, "\r\n" if args.crlf else "\n")


if __name__ == "__main__":
    sys.exit(main())
