"""FBX export of skinned characters and their clips as the engine's importer reads them.

The importer takes vertices as they stand in the file (no node transforms), converts model files to
centimetres but leaves clip files in their own units, and composes joint poses from the first joint
down (the armature's own node is not part of the pose). So every file here is written in centimetres
(unit scale 1), Y up, with identity transforms on the armature and mesh nodes: scripts author their
objects in a Y-up local space and turn the objects with `y_up_object` so that Blender shows them
standing while the exporter's axis change cancels that turn exactly.
"""
import datetime
import math
import os
import types

import bpy
import io_scene_fbx.export_fbx_bin as fbx_writer
from mathutils import Matrix


class _FixedClock(datetime.datetime):
    """The exporter stamps files with the time; a fixed one keeps regenerated files byte-identical
    when nothing changed, so the repository only takes real changes."""

    @classmethod
    def now(cls, tz=None):
        return cls(2020, 1, 1)


fbx_writer.datetime = types.SimpleNamespace(datetime=_FixedClock)


def reset_scene(fps=30):
    """An empty scene in centimetres at a whole frame rate."""
    bpy.ops.wm.read_factory_settings(use_empty=True)
    scene = bpy.context.scene
    scene.unit_settings.system = 'METRIC'
    scene.unit_settings.scale_length = 0.01  # one Blender unit is one centimetre in the file
    scene.render.fps = fps
    scene.render.fps_base = 1.0
    return scene


def y_up_object(obj):
    """Turns an object authored Y-up so that it stands in Blender's Z-up world."""
    obj.matrix_world = Matrix.Rotation(math.radians(90.0), 4, 'X')


def _select_only(objects):
    for obj in bpy.context.view_layer.objects:
        obj.select_set(False)
    for obj in objects:
        obj.select_set(True)
    bpy.context.view_layer.objects.active = objects[0]


def _export(path, objects, object_types, animated):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    _select_only(objects)
    bpy.ops.export_scene.fbx(
        filepath=path,
        use_selection=True,
        object_types=object_types,
        apply_unit_scale=True,
        apply_scale_options='FBX_SCALE_NONE',
        global_scale=1.0,
        axis_forward='-Z',
        axis_up='Y',
        bake_space_transform=False,
        use_mesh_modifiers=False,
        mesh_smooth_type='OFF',
        use_triangles=True,
        use_tspace=False,
        use_custom_props=False,
        add_leaf_bones=False,
        use_armature_deform_only=False,
        armature_nodetype='NULL',
        bake_anim=animated,
        bake_anim_use_all_bones=True,
        bake_anim_use_nla_strips=False,
        bake_anim_use_all_actions=False,
        bake_anim_force_startend_keying=True,
        bake_anim_step=1.0,
        bake_anim_simplify_factor=1.0,
        path_mode='STRIP',
        embed_textures=False,
        use_metadata=False)


def export_model(path, armature, meshes):
    """The skinned model: the armature and its meshes, in their rest pose, without animation."""
    armature.animation_data_clear()
    for bone in armature.pose.bones:
        bone.location = (0.0, 0.0, 0.0)
        bone.rotation_quaternion = (1.0, 0.0, 0.0, 0.0)
        bone.scale = (1.0, 1.0, 1.0)
    _export(path, [armature] + list(meshes), {'ARMATURE', 'MESH'}, animated=False)


def export_clip(path, armature, frame_count):
    """One clip: the armature alone, its action baked over frames 0 to frame_count."""
    scene = bpy.context.scene
    scene.frame_start = 0
    scene.frame_end = frame_count
    _export(path, [armature], {'ARMATURE'}, animated=True)
