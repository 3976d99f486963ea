"""Renders contact sheets of the static meshes with their textures, for looking at them.

usage: blender -b --factory-startup --python render_previews.py -- FBX_FOLDER PNG_FOLDER OUT_FOLDER
PNG_FOLDER holds the PNG copies that make_textures.py writes with --png. Writes one PNG per group.
"""
import math
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree clean of caches

import bpy
from mathutils import Vector

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)


def sheet_for(stem):
    if stem.startswith(("SM_Ground", "SM_Platform", "SM_Breakable", "SM_Hover")):
        return "t_en_tatlas_c.png"
    world = stem[-1]
    if stem.startswith("SM_Parallax"):
        return "t_en_tatlas_level%s_c.png" % world
    if stem.startswith("SM_MiddleGround"):
        return "t_en_bgatlas_level%s.png" % world
    if stem.startswith("SM_Sky"):
        return "t_en_bg_1.png"
    return stem + "_T.png"


GROUPS = {
    "tiles": lambda s: s.startswith(("SM_Ground", "SM_Platform", "SM_Breakable", "SM_Hover")),
    "props": lambda s: s.startswith(("SM_Deco", "SM_Checkpoint", "SM_Key")),
    "blood": lambda s: s == "SM_BloodSea",
    "layers": lambda s: s.startswith(("SM_Parallax", "SM_MiddleGround", "SM_Sky")),
}


def material(png_folder, image_name):
    mat = bpy.data.materials.new(image_name)
    mat.use_nodes = True
    mat.blend_method = "BLEND"
    nodes = mat.node_tree.nodes
    tex = nodes.new("ShaderNodeTexImage")
    tex.image = bpy.data.images.load(os.path.join(png_folder, image_name), check_existing=True)
    tex.interpolation = "Linear"
    bsdf = nodes["Principled BSDF"]
    mat.node_tree.links.new(tex.outputs["Color"], bsdf.inputs["Base Color"])
    mat.node_tree.links.new(tex.outputs["Alpha"], bsdf.inputs["Alpha"])
    nodes.active = tex
    return mat


def render_group(name, stems, fbx_folder, png_folder, out_folder):
    bpy.ops.wm.read_factory_settings(use_empty=True)
    scene = bpy.context.scene
    placed = []
    row_width = 0.0
    for stem in stems:
        bpy.ops.import_scene.fbx(filepath=os.path.join(fbx_folder, stem + ".fbx"), global_scale=100.0)
        obj = bpy.context.selected_objects[0]
        bpy.context.view_layer.update()
        corners = [obj.matrix_world @ Vector(c) for c in obj.bound_box]
        lo = Vector([min(c[k] for c in corners) for k in range(3)])
        hi = Vector([max(c[k] for c in corners) for k in range(3)])
        size = hi - lo
        obj.data.materials.clear()
        obj.data.materials.append(material(png_folder, sheet_for(stem)))
        placed.append((obj, lo, size))
        row_width += size.x + 40
    # One row, then wrap into lines of roughly equal width.
    lines = max(1, round(math.sqrt(row_width / max(max(s.z for _, _, s in placed), 1.0) / 3.0)))
    line_width = row_width / lines
    x = z = 0.0
    line_height = 0.0
    for obj, lo, size in placed:
        if x > 0 and x + size.x > line_width:
            x = 0.0
            z -= line_height + 60
            line_height = 0.0
        obj.location += Vector((x - lo.x, -lo.y, z - lo.z))
        x += size.x + 40
        line_height = max(line_height, size.z)
    bpy.context.view_layer.update()
    all_corners = [o.matrix_world @ Vector(c) for o, _, _ in placed for c in o.bound_box]
    lo = Vector([min(c[k] for c in all_corners) for k in range(3)])
    hi = Vector([max(c[k] for c in all_corners) for k in range(3)])
    centre = (lo + hi) / 2
    cam_data = bpy.data.cameras.new("cam")
    cam_data.type = "ORTHO"
    cam_data.ortho_scale = max(hi.x - lo.x, (hi.z - lo.z) * 16 / 9) * 1.08
    cam_data.clip_end = 100000
    cam = bpy.data.objects.new("cam", cam_data)
    scene.collection.objects.link(cam)
    pitch, yaw = math.radians(12), math.radians(18)
    distance = 20000
    direction = Vector((math.sin(yaw) * math.cos(pitch), -math.cos(yaw) * math.cos(pitch), math.sin(pitch)))
    cam.location = centre + direction * distance
    cam.rotation_euler = (math.pi / 2 - pitch, 0, yaw)
    scene.camera = cam
    scene.render.engine = "BLENDER_WORKBENCH"
    scene.display.shading.light = "STUDIO"
    scene.display.shading.color_type = "TEXTURE"
    scene.display.shading.background_type = "VIEWPORT"
    scene.display.shading.background_color = (0.25, 0.27, 0.3)
    scene.render.resolution_x, scene.render.resolution_y = 1600, 900
    scene.render.filepath = os.path.join(out_folder, "preview_%s.png" % name)
    bpy.ops.render.render(write_still=True)


def place(fbx_folder, png_folder, stem, x, up, depth):
    """Imports a model and puts its origin at game position (x, up, depth)."""
    bpy.ops.import_scene.fbx(filepath=os.path.join(fbx_folder, stem + ".fbx"), global_scale=100.0)
    obj = bpy.context.selected_objects[0]
    obj.location = (x, depth, up)
    obj.data.materials.clear()
    obj.data.materials.append(material(png_folder, sheet_for(stem)))


def render_level(world, fbx_folder, png_folder, out_folder):
    """A made-up stretch of level seen from the game's default camera: tiles, props and layers."""
    bpy.ops.wm.read_factory_settings(use_empty=True)
    scene = bpy.context.scene
    w = str(world)
    for k in range(-1, 2):
        place(fbx_folder, png_folder, "SM_Sky_W" + w, -8000 + k * 16000, -3500, 14000)
        place(fbx_folder, png_folder, "SM_Parallax_Far_W" + w, k * 8000 - 4000, -900, 9000)
        place(fbx_folder, png_folder, "SM_Parallax_Near_W" + w, k * 8000 - 2000, -600, 5000)
        for j in range(2):
            place(fbx_folder, png_folder, "SM_MiddleGround_W" + w, (2 * k + j) * 4000 - 1000, -300, 2000)
    for i in range(-15, 16):
        x = i * 100
        if 2 <= i <= 3:
            continue  # a gap to jump
        second = "B" if i % 4 == 1 else ""
        place(fbx_folder, png_folder, "SM_Ground%s_W%s" % (second, w), x, -100, -100)
        for row in (2, 3, 4):
            second = "B" if (i * 3 + row) % 5 == 0 else ""
            place(fbx_folder, png_folder, "SM_GroundFill%s_W%s" % (second, w), x, -100 * row, -100)
    for i in range(3):
        place(fbx_folder, png_folder, "SM_Platform_W" + w, 500 + i * 100, 250, -100)
    place(fbx_folder, png_folder, "SM_BreakableBlock_W" + w, -400, 0, -100)
    place(fbx_folder, png_folder, "SM_HoverPlatform_Single_W" + w, -800, 380, -100)
    for i, kind in enumerate(("Left", "Middle", "Right")):
        place(fbx_folder, png_folder, "SM_HoverPlatform_%s_W%s" % (kind, w), 1000 + i * 100, 420, -100)
    props = sorted(s for s in os.listdir(fbx_folder) if s.startswith("SM_Deco_W" + w))
    for i, stem in enumerate(props):
        place(fbx_folder, png_folder, stem[:-4], -1300 + i * 420, 0, 60)
    place(fbx_folder, png_folder, "SM_Checkpoint", -1050, 0, 0)
    place(fbx_folder, png_folder, "SM_Checkpoint_Active", 850, 0, 0)
    place(fbx_folder, png_folder, "SM_Key", 650, 480, 0)
    cam_data = bpy.data.cameras.new("cam")
    cam_data.sensor_fit = "HORIZONTAL"
    cam_data.angle = math.radians(30.5)
    cam_data.clip_start, cam_data.clip_end = 100, 30000
    cam = bpy.data.objects.new("cam", cam_data)
    scene.collection.objects.link(cam)
    cam.location = (346, -4500, 506)
    cam.rotation_euler = (math.pi / 2 - 0.1, 0, 0)
    scene.camera = cam
    scene.render.engine = "BLENDER_WORKBENCH"
    scene.display.shading.light = "FLAT"
    scene.display.shading.color_type = "TEXTURE"
    scene.render.resolution_x, scene.render.resolution_y = 1600, 900
    scene.render.filepath = os.path.join(out_folder, "preview_level_w%d.png" % world)
    bpy.ops.render.render(write_still=True)


def main():
    fbx_folder, png_folder, out_folder = sys.argv[sys.argv.index("--") + 1:][:3]
    os.makedirs(out_folder, exist_ok=True)
    stems = sorted(f[:-4] for f in os.listdir(fbx_folder) if f.endswith(".fbx"))
    for name, wanted in GROUPS.items():
        render_group(name, [s for s in stems if wanted(s)], fbx_folder, png_folder, out_folder)
    for world in (1, 2, 3):
        render_level(world, fbx_folder, png_folder, out_folder)


main()
