"""Renders a character in a few poses to one PNG strip, for looking at the work.

Usage: blender -b --factory-startup --python preview.py -- MODULE TEXTURE_PNG OUT_PNG CLIP@TIME[:q|:left] ...
(MODULE is a character script's name, e.g. player; TEXTURE_PNG from make_textures.py --png.)
"""
import importlib
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import bpy  # noqa: E402
import numpy as np  # noqa: E402
from mathutils import Matrix, Vector  # noqa: E402

import rig  # noqa: E402  (first: it finds the shared modules)
import skinned_fbx_export as fbx_export  # noqa: E402
import layout  # noqa: E402


def main(args):
    module_name, texture, out = args[0], args[1], args[2]
    shots = [a.split("@") for a in args[3:]]
    module = importlib.import_module(module_name)
    fbx_export.reset_scene(rig.FPS)
    placement = getattr(module, "PLACEMENT", None) or rig.Placement()
    armature = rig.build_armature(module.STEM + "_Rig", placement.joints(module.JOINTS))
    builder = rig.MeshBuilder(layout.ATLASES[module.STEM])
    module.build_mesh(builder)
    placement.mesh(builder)
    mesh = builder.build(module.STEM, armature)
    material = bpy.data.materials.new("skin")
    material.use_nodes = True
    image_node = material.node_tree.nodes.new("ShaderNodeTexImage")
    image_node.image = bpy.data.images.load(texture)
    bsdf = material.node_tree.nodes["Principled BSDF"]
    material.node_tree.links.new(image_node.outputs["Color"], bsdf.inputs["Base Color"])
    mesh.data.materials.append(material)

    lo, hi = Vector(builder.positions[0]), Vector(builder.positions[0])
    for p in builder.positions:
        lo = Vector(map(min, lo, p))
        hi = Vector(map(max, hi, p))
    height = hi.y - lo.y
    scene = bpy.context.scene
    scene.render.engine = 'BLENDER_WORKBENCH'
    scene.display.shading.light = 'STUDIO'
    scene.display.shading.color_type = 'TEXTURE'
    scene.render.resolution_x, scene.render.resolution_y = 300, 380
    scene.render.film_transparent = False
    scene.world = bpy.data.worlds.new("w")
    cam_data = bpy.data.cameras.new("cam")
    cam_data.type = 'ORTHO'
    cam_data.ortho_scale = height * 1.5
    cam_data.clip_start, cam_data.clip_end = 1.0, 100000.0
    cam = bpy.data.objects.new("cam", cam_data)
    scene.collection.objects.link(cam)
    scene.camera = cam
    # The game's camera looks at the character's right side (file +z is Blender -y here).
    centre = Vector((0.5 * (lo.x + hi.x), 0.0, 0.5 * (lo.y + hi.y)))
    strips = []
    for clip_name, spec in shots:
        view = 'side'
        if ":" in spec:
            spec, view = spec.split(":")
        length, looping, pose_at = module.clips()[clip_name]
        rig.bake_clip(armature, placement.pose(pose_at), length)
        scene.frame_set(int(round(float(spec) * rig.FPS)))
        # "left": as the game draws a character facing left, turned 2.0 radians about its up axis.
        turn = -2.0 if view == 'left' else 0.0
        armature.matrix_world = Matrix.Rotation(turn, 4, 'Z') @ Matrix.Rotation(math.radians(90.0), 4, 'X')
        if view in ('side', 'left'):
            cam.location = centre + Vector((0, -1000, 0))
            cam.rotation_euler = (math.radians(90), 0, 0)
        else:
            cam.location = centre + Vector((700, -700, 0))
            cam.rotation_euler = (math.radians(90), 0, math.radians(45))
        path = out + ".%d.png" % len(strips)
        scene.render.filepath = path
        bpy.ops.render.render(write_still=True)
        img = bpy.data.images.load(path)
        pixels = np.array(img.pixels[:]).reshape(img.size[1], img.size[0], 4)
        strips.append(pixels)
        os.remove(path)
    sheet = np.concatenate(strips, axis=1)
    image = bpy.data.images.new("sheet", sheet.shape[1], sheet.shape[0])
    image.pixels = sheet.ravel().tolist()
    image.filepath_raw = out
    image.file_format = 'PNG'
    image.save()


main(sys.argv[sys.argv.index("--") + 1:])
