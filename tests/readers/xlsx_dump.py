"""Reads an xlsx workbook with openpyxl and prints what the tests check, as JSON."""
import json
import sys
import zipfile
import xml.etree.ElementTree as ET

import openpyxl

EMU_PER_PIXEL = 9525
NS = {
    "xdr": "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing",
    "a": "http://schemas.openxmlformats.org/drawingml/2006/main",
}


def images(path):
    found = []
    with zipfile.ZipFile(path) as archive:
        for name in sorted(archive.namelist()):
            if not name.startswith("xl/drawings/drawing") or not name.endswith(".xml"):
                continue
            root = ET.fromstring(archive.read(name))
            for anchor in list(root):
                start = anchor.find("xdr:from", NS)
                ext = anchor.find(".//xdr:pic/xdr:spPr/a:xfrm/a:ext", NS)
                if start is None or ext is None:
                    continue
                found.append({
                    "row": int(start.find("xdr:row", NS).text),
                    "col": int(start.find("xdr:col", NS).text),
                    "width": round(int(ext.get("cx")) / EMU_PER_PIXEL),
                    "height": round(int(ext.get("cy")) / EMU_PER_PIXEL),
                })
    return found


def main():
    path = sys.argv[1]
    book = openpyxl.load_workbook(path)
    sheet = book.worksheets[0]
    cells = {}
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is None and not cell.has_style:
                continue
            cells[cell.coordinate] = {
                "value": cell.value,
                "type": cell.data_type,
                "font": cell.font.name,
                "size": cell.font.sz,
                "bold": bool(cell.font.b),
                "left": cell.border.left.style,
                "right": cell.border.right.style,
                "top": cell.border.top.style,
                "bottom": cell.border.bottom.style,
                "horizontal": cell.alignment.horizontal,
                "vertical": cell.alignment.vertical,
                "wrap": bool(cell.alignment.wrap_text),
            }
    columns = [
        {"min": d.min, "max": d.max, "width": d.width}
        for d in sheet.column_dimensions.values() if d.customWidth
    ]
    json.dump({
        "sheets": len(book.worksheets),
        "title": sheet.title,
        "cells": cells,
        "merges": sorted(str(r) for r in sheet.merged_cells.ranges),
        "columns": columns,
        "images": images(path),
    }, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
