"""Reads an xlsx workbook with openpyxl and prints what the tests check, as JSON."""
import json
import posixpath
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


def sheet_images(path):
    """The images of each sheet by its name, found through the package's relationships."""
    rel = "{http://schemas.openxmlformats.org/package/2006/relationships}Relationship"
    main = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
    rid = "{http://schemas.openxmlformats.org/officeDocument/2006/relationships}id"
    found = {}
    with zipfile.ZipFile(path) as archive:
        names = archive.namelist()

        def targets(rels_name, folder):
            if rels_name not in names:
                return {}
            root = ET.fromstring(archive.read(rels_name))
            return {r.get("Id"): posixpath.normpath(posixpath.join(folder, r.get("Target")))
                    for r in root.iter(rel)}

        sheets = targets("xl/_rels/workbook.xml.rels", "xl")
        book = ET.fromstring(archive.read("xl/workbook.xml"))
        for sheet in book.iter(main + "sheet"):
            sheet_path = sheets.get(sheet.get(rid))
            images_of_sheet = []
            folder, name = posixpath.split(sheet_path)
            for target in targets(folder + "/_rels/" + name + ".rels", folder).values():
                if not target.startswith("xl/drawings/drawing"):
                    continue
                drawing = ET.fromstring(archive.read(target))
                for anchor in list(drawing):
                    start = anchor.find("xdr:from", NS)
                    ext = anchor.find(".//xdr:pic/xdr:spPr/a:xfrm/a:ext", NS)
                    if start is None or ext is None:
                        continue
                    images_of_sheet.append({
                        "row": int(start.find("xdr:row", NS).text),
                        "col": int(start.find("xdr:col", NS).text),
                        "width": round(int(ext.get("cx")) / EMU_PER_PIXEL),
                        "height": round(int(ext.get("cy")) / EMU_PER_PIXEL),
                    })
            found[sheet.get("name")] = images_of_sheet
    return found


def font_color(cell):
    color = cell.font.color
    if color is None or color.type != "rgb" or not isinstance(color.rgb, str):
        return None
    return color.rgb[-6:].upper()


def sheet_cells(sheet):
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
                "color": font_color(cell),
                "format": cell.number_format,
                "left": cell.border.left.style,
                "right": cell.border.right.style,
                "top": cell.border.top.style,
                "bottom": cell.border.bottom.style,
                "horizontal": cell.alignment.horizontal,
                "vertical": cell.alignment.vertical,
                "wrap": bool(cell.alignment.wrap_text),
                "shrink": bool(cell.alignment.shrink_to_fit),
            }
    return cells


def page_setup(sheet):
    setup = sheet.page_setup
    return {
        "paper": int(setup.paperSize) if setup.paperSize is not None else None,
        "orientation": setup.orientation,
        "fitToPage": bool(sheet.sheet_properties.pageSetUpPr is not None
                          and sheet.sheet_properties.pageSetUpPr.fitToPage),
        "printArea": sheet.print_area,
        "rowBreaks": [b.id for b in sheet.row_breaks.brk],
    }


def header_part(part):
    return {"left": part.left.text, "center": part.center.text, "right": part.right.text}


# What each printed page of a sheet carries: header, footer, rows repeated at the top.
def printing(sheet):
    return {
        "header": header_part(sheet.oddHeader),
        "footer": header_part(sheet.oddFooter),
        "printTitleRows": sheet.print_title_rows,
        "pageSetup": page_setup(sheet),
    }


# Rows of a plain table sheet: value and cell type of each cell.
def sheet_rows(sheet):
    return [[{"value": c.value, "type": c.data_type} for c in row] for row in sheet.iter_rows()]


# What the workbook says about itself: the core properties as openpyxl reads
# them, company and application from docProps/app.xml.
def properties(book, path):
    core = book.properties
    found = {"title": core.title, "subject": core.subject, "creator": core.creator,
             "keywords": core.keywords, "company": None, "application": None}
    with zipfile.ZipFile(path) as package:
        if "docProps/app.xml" in package.namelist():
            app = ET.fromstring(package.read("docProps/app.xml"))
            for element in app:
                name = element.tag.split("}")[-1]
                if name == "Company":
                    found["company"] = element.text
                elif name == "Application":
                    found["application"] = element.text
    return found


# The sheets after the second: name, rows of cells and images.
def later_sheets(book, path):
    images_by_sheet = sheet_images(path)
    return [{"name": s.title, "rows": sheet_rows(s), "images": images_by_sheet.get(s.title, [])}
            for s in book.worksheets[2:]]


def main():
    path = sys.argv[1]
    book = openpyxl.load_workbook(path)
    sheet = book.worksheets[0]
    cells = sheet_cells(sheet)
    columns = [
        {"min": d.min, "max": d.max, "width": d.width}
        for d in sheet.column_dimensions.values() if d.customWidth
    ]
    json.dump({
        "sheets": len(book.worksheets),
        "sheetNames": book.sheetnames,
        "title": sheet.title,
        "pageSetup": page_setup(sheet),
        "dataRows": sheet_rows(book.worksheets[1]) if len(book.worksheets) > 1 else [],
        "cells": cells,
        "merges": sorted(str(r) for r in sheet.merged_cells.ranges),
        "columns": columns,
        "images": images(path),
        "printing": [printing(s) for s in book.worksheets],
        "rowHeights": {str(r): d.height for r, d in sheet.row_dimensions.items() if d.height is not None},
        "properties": properties(book, path),
        "laterSheets": later_sheets(book, path),
    }, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
